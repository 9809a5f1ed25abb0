// The season change on a real league: all or nothing, the refusal without
// a job, the season's money, the players' year, a new club, and the
// all-time scorers' upkeep.

#include <algorithm>

#include "apoio_epoca.h"
#include "desk/negocios.h"
#include "jogo_apoio.h"
#include "platform/falhas.h"
#include "season/mudanca_epoca.h"

namespace gv {
namespace {

class Mudanca_Epoca : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        // The manager's club last of its division: no prize muddles the money.
        Base_Dados->Execute("UPDATE clubes SET pontos = -1 WHERE clube = ?", {Clube_Treinador});
        outro = Base_Dados->valor("SELECT clube FROM clubes WHERE div = 2 ORDER BY clube LIMIT 1").texto();
    }
    void TearDown() override {
        desarmar_falhas();
        Com_Mestra::TearDown();
    }
    long long jogador(const std::string& equipa, const std::string& nome, const std::string& pos, int forca, int idade,
                      int contrato, int joga = 0) {
        Base_Dados->Execute("INSERT INTO jogadores (nome, equipa, pos, forca, idade, contrato, joga) VALUES (?, ?, ?, ?, ?, ?, ?)",
                            {nome, equipa, pos, forca, idade, contrato, joga});
        return Base_Dados->ultimo_rowid();
    }
    std::string texto(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p).texto(); }
    std::string outro;   // a computer club of division 2
};

TEST_F(Mudanca_Epoca, RefusedOrFailedItLeavesTheFileAndTheSeasonAsTheyWere) {
    const std::string clube = Clube_Treinador;
    Base_Dados->Execute("UPDATE principal SET T_contrato = 1");
    Vencedor_Taca = clube;   // its prize is announced only once the change is saved
    const auto bytes = teste::ler_bytes(Ficheiro_Jogo);
    EXPECT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Sem_Escolha);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Tem que escolher uma Equipa para Continuar a Jogar.");
    EXPECT_EQ(teste::ler_bytes(Ficheiro_Jogo), bytes);

    const Convite oferta{outro, 2, ""};
    for (const char* ponto : {"epoca.calendario", "epoca.gravar"}) {
        porta.mensagens.clear();
        armar_falha(ponto);
        EXPECT_EQ(Mudar_Epoca(&oferta), Resultado_Mudanca::Falhada) << ponto;
        ASSERT_EQ(porta.mensagens.size(), 1u) << ponto;
        EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
        EXPECT_EQ(porta.mensagens[0].texto.rfind("Não foi possível mudar de época. Nada foi gravado", 0), 0u);
        EXPECT_EQ(teste::ler_bytes(Ficheiro_Jogo), bytes) << ponto;
        EXPECT_EQ(std::tuple(Epoca_Actual, Jornada_Actual, Eliminatoria_Taca), std::tuple(1999, 1, 1)) << ponto;
        EXPECT_EQ(Vencedor_Taca, clube);
        EXPECT_EQ(Clube_Treinador, clube);
    }
    porta.mensagens.clear();
    ASSERT_EQ(Mudar_Epoca(&oferta), Resultado_Mudanca::Feita);
    EXPECT_EQ(std::tuple(Epoca_Actual, Clube_Treinador), std::tuple(2000, outro));
    ASSERT_GE(porta.mensagens.size(), 3u);
    EXPECT_EQ(porta.mensagens[0].texto, "Impostos Relativos à Compra de Jogadores (5%): 0");
    EXPECT_EQ(porta.mensagens[2].texto, clube + " Vencedor da Taça - Prémio : 2.500.000");
}

TEST_F(Mudanca_Epoca, TheSeasonsMoneyTaxesPurchasesAndTheStadium) {
    for (auto [tipo, valor, epoca] : {std::tuple{"C", 1'000'000, 1999}, std::tuple{"E+", 500'000, 1999},
                                      std::tuple{"V", 300'000, 1999}, std::tuple{"C", 2'000'000, 1998}})
        Base_Dados->Execute("INSERT INTO transferencias (Epoca, Tipo, valor) VALUES (?, ?, ?)", {epoca, tipo, valor});
    Base_Dados->Execute("UPDATE clubes SET cap_estadio = 25000 WHERE clube = ?", {Clube_Treinador});
    Base_Dados->Execute("UPDATE principal SET d_in = 100, d_out = 200, d_emp_in = 5, d_estadio = 7");
    const long saldo = contar("SELECT d_total FROM principal");
    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
    ASSERT_GE(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[0].texto, "Impostos Relativos à Compra de Jogadores (5%): 75,000");
    EXPECT_EQ(porta.mensagens[1].texto, "Manutenção do Estádio (25,000 Lugares): 175,000");
    EXPECT_EQ(contar("SELECT d_total FROM principal"), saldo - 250'000);
    EXPECT_EQ(contar("SELECT d_out FROM historico_treinador WHERE ano = 1999"), 250'200) << "taxes count in the season";
    EXPECT_EQ(contar("SELECT d_in + d_out + d_emp_in + d_estadio FROM principal"), 0) << "a new season's money";
}

TEST_F(Mudanca_Epoca, ThePlayersYear) {
    const long long forte = jogador(outro, "Forte", "av", 95, 25, 3, 1);
    jogador(outro, "Velho", "df", 99, 33, 1);
    const long long quase = jogador(outro, "Quase", "df", 98, 32, 1);
    const long long emprestado = jogador(outro, "Emprestado", "md", 70, 24, 2);
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {Clube_Treinador, emprestado});
    jogador(Clube_Treinador, "O'Brien", "gk", 40, 25, 1);
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) VALUES (?, ?, 'gk', 25, 2, 1)",
                        {"O'Brien", Clube_Treinador});
    // Borrowed from another club and bought on the season's last desk.
    const long long comprado = jogador(Clube_Treinador, "Comprado", "av", 60, 24, 1);
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {outro, comprado});
    ASSERT_EQ(Comprar_Jogador_Emprestado(comprado), Resultado_Negocio::Feito);

    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
    EXPECT_EQ(texto("SELECT equipa || emprestado || clube_origem FROM jogadores WHERE rowid = ?", {comprado}),
              Clube_Treinador + "00");
    // A starter gains 8 and is priced with factor 3 above 100.
    EXPECT_EQ(texto("SELECT forca || ' ' || idade || ' ' || joga || ' ' || preco || ' ' || ordenado FROM jogadores WHERE rowid = ?",
                    {forte}),
              "103 26 0 2163000 21630");
    // Row identities of deleted players are given to new ones: look for the names.
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome IN ('Velho', ?)", {"O'Brien"}), 0);
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE rowid = ?", {quase}), 3);
    EXPECT_EQ(texto("SELECT equipa || emprestado || clube_origem FROM jogadores WHERE rowid = ?", {emprestado}),
              Clube_Treinador + "00");
    EXPECT_TRUE(std::any_of(porta.mensagens.begin(), porta.mensagens.end(), [](const Mensagem& m) {
        return m.texto == "O jogador O'Brien (26 Anos) Transferiu-se para outra Equipa (Fim de Contrato)" &&
               m.icone == Icone::Exclamacao;
    }));
    EXPECT_EQ(texto("SELECT sit || '/' || ano FROM Melhores_Marcadores_Sempre WHERE nome = ?", {"O'Brien"}), "0/1999");
    EXPECT_EQ(texto("SELECT Epoca || ' ' || Jornada || ' ' || taca || ' ' || T_contrato || ' ' || sit FROM principal"),
              "2000 1 1 1 20");
}

TEST_F(Mudanca_Epoca, ANewClubIsTheOwnClubFromTheMomentItIsTaken) {
    const std::string antigo = Clube_Treinador;
    Base_Dados->Execute("UPDATE principal SET T_contrato = 1");
    const Convite oferta{outro, 2, ""};
    ASSERT_EQ(Mudar_Epoca(&oferta), Resultado_Mudanca::Feita);
    EXPECT_EQ(texto("SELECT equipa || ' ' || d_total || ' ' || T_contrato FROM principal"), outro + " 2000000 2");
    EXPECT_EQ(texto("SELECT clube FROM historico_treinador"), antigo);
    // The old club is now a computer club: no line-up, a 2-6-6-5 squad.
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga <> 0", {antigo}), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {antigo}), 19);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {outro}), 11);
}

class Marcadores_Sempre : public teste::Base_Epoca {
protected:
    void marcador(const std::string& nome, int golos, int sit, int ano = 0, const std::string& equipa = "Alfa") {
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit, ano) "
                            "VALUES (?, ?, 'av', 25, ?, ?, ?)",
                            {nome, equipa, golos, sit, ano});
    }
};

TEST_F(Marcadores_Sempre, TheBest101RetiredStayAndActiveRowsWithoutTheirPlayerAreClosed) {
    Epoca_Actual = 2000;
    for (int g = 1; g <= 110; ++g) marcador("R" + std::to_string(g), g, 0, 1990);
    Actualizar_DB_Melhores_Marcadores();
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre"), 110);
    marcador("R111", 111, 0, 1990);
    jogador("Alfa", "av", 60, 0, "Joga");   // aged 25
    marcador("Joga", 1, 1);
    marcador("Saiu", 1, 1);
    marcador("Joga", 1, 1, 0, "Beta");      // a namesake at another club
    Actualizar_DB_Melhores_Marcadores();
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE ano = 1990"), 101);
    EXPECT_EQ(contar("SELECT min(golos) FROM Melhores_Marcadores_Sempre WHERE ano = 1990"), 11);
    EXPECT_EQ(Base_Dados->valor("SELECT group_concat(nome || equipa || sit || ano) FROM Melhores_Marcadores_Sempre "
                                "WHERE ano <> 1990").texto(),
              "JogaAlfa10,SaiuAlfa01999,JogaBeta01999");
}

} // namespace
} // namespace gv
