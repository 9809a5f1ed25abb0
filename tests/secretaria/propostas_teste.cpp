// Computer clubs' offers for the manager's players.

#include "data/clubes.h"
#include "data/movimentos.h"
#include "desk/propostas.h"
#include "jogo_apoio.h"
#include "platform/aleatorio.h"

using namespace gv;

namespace {

class Propostas_Teste : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        porta.mensagens.clear();
    }
    // Tries seeds until an offer of the wanted kind is asked; answers it.
    Resultado_Proposta ate_uma_oferta(bool emprestimo, Resposta resposta) {
        for (std::uint32_t semente = 1; semente < 500; ++semente) {
            semear_aleatorio(semente);
            porta.mensagens.clear();
            porta.responder(resposta);
            auto r = Propostas();
            porta.respostas.clear();
            if (porta.mensagens.empty()) continue;   // no offer this time
            const bool foi_emprestimo = porta.mensagens[0].texto.find("EMPRESTAR") != std::string::npos;
            if (foi_emprestimo == emprestimo) return r;
            // The other kind was asked: undo nothing (answers were No) or try again on a fresh game.
            if (resposta == Resposta::Sim) return r;
        }
        ADD_FAILURE() << "no offer in 500 seeds";
        return Resultado_Proposta::Nenhuma;
    }
    long saldo() { return static_cast<long>(Base_Dados->valor("SELECT d_total FROM principal").inteiro()); }
};

TEST_F(Propostas_Teste, AcceptedLoanMovesThePlayerAndBooksTheFee) {
    long antes = saldo();
    auto r = ate_uma_oferta(true, Resposta::Sim);
    ASSERT_EQ(r, Resultado_Proposta::Emprestimo);
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Pergunta);
    EXPECT_EQ(porta.mensagens[0].botao_defeito, 0) << "Yes is the default";
    EXPECT_EQ(porta.mensagens[0].texto.rfind("O clube ", 0), 0u);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Jogador Emprestado ao ", 0), 0u);
    EXPECT_EQ(Proposta_Feita, 1);
    auto cedido = Base_Dados->OpenRecordset("SELECT equipa, preco, emprestado FROM jogadores WHERE clube_origem = ?",
                                            {Clube_Treinador});
    ASSERT_EQ(cedido.RecordCount(), 1);
    EXPECT_EQ(cedido["emprestado"].int32(), 1);
    EXPECT_NE(cedido["equipa"].texto(), Clube_Treinador);
    EXPECT_NE(Divisao_Clube(cedido["equipa"].texto()), 0);
    long taxa = saldo() - antes;
    long preco = static_cast<long>(cedido["preco"].inteiro());
    EXPECT_GE(taxa, preco / 20);
    EXPECT_LT(taxa, preco * 35 / 100 + 1);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'E-' AND valor = ?", {taxa}), 1);
    EXPECT_EQ(contar("SELECT d_emp_in FROM principal"), taxa);
}

TEST_F(Propostas_Teste, AcceptedSaleMovesThePlayerAtHisValueAndBooksThePrice) {
    Jornada_Actual = 26;   // only sales from here on
    int antes = contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    long saldo_antes = saldo();
    auto r = ate_uma_oferta(false, Resposta::Sim);
    ASSERT_EQ(r, Resultado_Proposta::Venda);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador}), antes - 1);
    long preco_venda = saldo() - saldo_antes;
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'V' AND valor = ?", {preco_venda}), 1);
    EXPECT_EQ(contar("SELECT d_venda_in FROM principal"), preco_venda);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE tipo LIKE '(1) %'"), 1) << "the route is logged";
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Jogador Vendido ao ", 0), 0u);
}

TEST_F(Propostas_Teste, RefusedOfferChangesNothing) {
    auto antes = contar("SELECT sum(rowid * length(equipa)) FROM jogadores");
    long saldo_antes = saldo();
    auto r = ate_uma_oferta(true, Resposta::Nao);
    EXPECT_EQ(r, Resultado_Proposta::Recusada);
    EXPECT_EQ(contar("SELECT sum(rowid * length(equipa)) FROM jogadores"), antes);
    EXPECT_EQ(saldo(), saldo_antes);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias"), 0);
    EXPECT_EQ(Proposta_Feita, 0);
}

TEST_F(Propostas_Teste, NoLoanOffersFromMatchdayTwentySix) {
    Jornada_Actual = 26;
    for (std::uint32_t semente = 1; semente < 200; ++semente) {
        semear_aleatorio(semente);
        porta.responder(Resposta::Nao);
        Propostas();
        porta.respostas.clear();
    }
    for (const auto& m : porta.mensagens) EXPECT_EQ(m.texto.find("EMPRESTAR"), std::string::npos);
    EXPECT_FALSE(porta.mensagens.empty()) << "sales are still offered";
}

TEST_F(Propostas_Teste, OnlyFitOwnOutfieldPlayersGetOffers) {
    Base_Dados->Execute("UPDATE jogadores SET joga = 3 WHERE equipa = ? AND pos <> 'gk'", {Clube_Treinador});
    for (std::uint32_t semente = 1; semente < 100; ++semente) {
        semear_aleatorio(semente);
        EXPECT_EQ(Propostas(), Resultado_Proposta::Nenhuma);
    }
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Propostas_Teste, InterestedClubIsNeverTheManagersAndDivisionFollowsStrength) {
    EXPECT_EQ(Divisao_Do_Jogador(40), 3);
    EXPECT_EQ(Divisao_Do_Jogador(41), 2);
    EXPECT_EQ(Divisao_Do_Jogador(65), 2);
    EXPECT_EQ(Divisao_Do_Jogador(66), 1);
    for (int i = 0; i < 200; ++i) {
        auto c = Escolher_Clube_Interessado(1 + i % 3, "df");
        ASSERT_FALSE(c.empty());
        EXPECT_NE(c, Clube_Treinador);
        EXPECT_EQ(Divisao_Clube(c), 1 + i % 3);
    }
    EXPECT_EQ(Escolher_Clube_Interessado(4, "df"), "") << "no club to choose: no offer, no endless loop";
}

TEST_F(Propostas_Teste, MovesAndLogs) {
    // A 29-year-old moves from a division-2 club to a division-1 club.
    auto rs = Base_Dados->OpenRecordset("SELECT j.rowid, j.nome, j.pos, j.forca, j.contrato, j.equipa FROM jogadores j "
                                        "INNER JOIN clubes c ON c.clube = j.equipa WHERE c.div = 2 LIMIT 1");
    const std::string de = rs["equipa"].texto(), nome = rs["nome"].texto(), pos = rs["pos"].texto();
    const std::string para = Base_Dados->valor("SELECT clube FROM clubes WHERE div = 1 LIMIT 1").texto();
    Base_Dados->Execute("UPDATE jogadores SET idade = 29 WHERE rowid = ?", {rs.rowid()});
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit, golos) VALUES (?, ?, ?, 29, 1, 4)",
                        {nome, de, pos});
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit, golos) VALUES (?, ?, ?, 31, 1, 2)",
                        {nome, de, pos});
    Mudar_Clube_Jogador(777000, pos, nome, 29, rs["forca"].int32(), de, para, rs.rowid());
    EXPECT_EQ(Base_Dados->valor("SELECT equipa FROM jogadores WHERE rowid = ?", {rs.rowid()}).texto(), para);
    EXPECT_EQ(contar("SELECT preco FROM jogadores WHERE rowid = ?", {rs.rowid()}), 777000);
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE rowid = ?", {rs.rowid()}), rs["contrato"].int32());
    EXPECT_EQ(Base_Dados->valor("SELECT tipo FROM transferencias_clubes").texto(), "(2) " + de + " -> " + para + " (1)");
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE equipa = ? AND idade = 29", {para}), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE equipa = ? AND idade = 31", {de}), 1);
    // Created players: contract by age.
    Mudar_Clube_Jogador(1000, "md", "Novo Velho", 30, 40, "-", para, 0);
    Mudar_Clube_Jogador(1000, "md", "Novo Jovem", 29, 40, "-", para, 0);
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE nome = 'Novo Velho'"), 1);
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE nome = 'Novo Jovem'"), 4);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE tipo = ?", {"(0) - -> " + para + " (1)"}), 2);
}

} // namespace
