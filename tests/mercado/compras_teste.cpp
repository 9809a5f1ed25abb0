// The manager buys and borrows players from the two lists.

#include "apoio_mercado.h"
#include "data/clubes.h"
#include "market/compras.h"

namespace gv {
namespace {

class Compras : public teste::Mercado {
protected:
    void SetUp() override {
        Mercado::SetUp();
        alvo = jogador(outro, "md", 24, 55, 400000);
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) "
                            "VALUES (?, ?, 'md', 24, 12, 1)",
                            {"Zé D'Almeida", outro});
        saldo(2000000);
    }
    Jogador_Listado livre(int idade, int forca = 40, long preco = 20000) {
        Jogador_Listado j;
        j.pos = "df";
        j.nome = "Novo O'Neil";
        j.clube = "-";
        j.idade = idade;
        j.forca = forca;
        j.preco = preco;
        return j;
    }
    std::string marcador() {
        return Base_Dados->valor("SELECT equipa FROM Melhores_Marcadores_Sempre WHERE nome = ?", {"Zé D'Almeida"}).texto();
    }
    long long alvo = 0;
};

TEST_F(Compras, AFreePlayerJoinsWithAFreshValueAndTwoSeasons) {
    ASSERT_EQ(Comprar_Jogador_Listado(livre(22, 40, 300000), Lista_Origem::Venda), Resultado_Negocio::Feito);
    auto rs = Base_Dados->OpenRecordset("SELECT * FROM jogadores WHERE nome = ?", {"Novo O'Neil"});
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs["equipa"].texto(), Clube_Treinador);
    EXPECT_EQ(rs["contrato"].int32(), 2) << "'-' counts as 1, plus the added season";
    EXPECT_EQ(rs["joga"].int32(), 0);
    EXPECT_EQ(rs["clube_origem"].texto(), "0");
    const long band = (40 - 22) * 40 * 400;
    EXPECT_LE(rs["preco"].int32(), band) << "priced by the band, not by what was paid";
    EXPECT_GE(rs["preco"].int32(), band / 2);
    EXPECT_GE(rs["ordenado"].int32(), 3000);
    EXPECT_LE(rs["ordenado"].int32(), 4500);
    EXPECT_EQ(principal("d_venda_out"), 300000);
    EXPECT_EQ(principal("d_total"), 1700000);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'C' AND nome = ? AND valor = 300000",
                     {"Novo O'Neil (22)"}),
              1);
    const std::string rota = "(0) - -> " + Clube_Treinador + " (" + std::to_string(Divisao_Clube(Clube_Treinador)) + ")";
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE tipo = ?", {rota}), 1);
    EXPECT_EQ(ultima(), "Comprou o Jogador NOVO O'NEIL por 300,000. Contrato de 2 Época(s).");
}

TEST_F(Compras, FourJuniorsASeasonFromTheTransferList) {
    for (int i = 0; i < 4; ++i)
        Base_Dados->Execute("INSERT INTO transferencias (Epoca, Jornada, pos, nome, forca, Tipo, valor, idade) "
                            "VALUES (?, 1, 'md', 'x', 20, 'C', 10000, 15)",
                            {Epoca_Actual});
    EXPECT_EQ(Comprar_Jogador_Listado(livre(16), Lista_Origem::Venda), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Só pode comprar 4 jogadores por Época com idade inferior a 17 anos.");
    EXPECT_EQ(principal("d_venda_out"), 0);
    EXPECT_EQ(Comprar_Jogador_Listado(livre(17), Lista_Origem::Venda), Resultado_Negocio::Feito);
    Base_Dados->Execute("UPDATE jogadores SET idade = 16 WHERE rowid = ?", {alvo});
    Jornada_Actual = 2;
    porta.responder(Resposta::Nao);
    EXPECT_EQ(Comprar_Jogador_Listado(listado(alvo, 400000), Lista_Origem::Todos), Resultado_Negocio::Feito)
        << "the list of all players has no junior limit";
}

TEST_F(Compras, FromMatchday26TheClubAlwaysCounterOffersAndNoBuysAtOnce) {
    Jornada_Actual = 26;
    for (int i = 0; i < 3; ++i) {
        const long long id = jogador(outro, "av", 25, 50, 100000, "Av " + std::to_string(i));
        porta.responder(Resposta::Nao);
        ASSERT_EQ(Comprar_Jogador_Listado(listado(id, 100000), Lista_Origem::Venda), Resultado_Negocio::Feito);
        const auto& q = porta.mensagens[porta.mensagens.size() - 2];
        EXPECT_EQ(q.titulo, "Compra de Jogador");
        EXPECT_EQ(q.botoes, Botoes::SimNao);
        EXPECT_EQ(q.botao_defeito, 1) << "No is the default";
        EXPECT_EQ(q.texto, "A sua Proposta foi aceite mas o clube " + outro +
                               " propoe ficar com o jogador até final \nda epoca por um desconto de 15%, i. e. - Custo "
                               "85,000. Concorda ? ");
        EXPECT_EQ(coluna(id, "equipa"), Clube_Treinador);
        EXPECT_EQ(coluna(id, "contrato"), "3");
    }
    EXPECT_EQ(principal("d_venda_out"), 300000);
}

TEST_F(Compras, AcceptedCounterOfferIsADeferredPurchase) {
    Jornada_Actual = 30;
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Comprar_Jogador_Listado(listado(alvo, 400001), Lista_Origem::Todos), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "O jogador ficara emprestado até ao fim da epoca.");
    EXPECT_EQ(coluna(alvo, "equipa"), outro) << "he plays for his club until the season ends";
    EXPECT_EQ(coluna(alvo, "clube_origem"), Clube_Treinador);
    EXPECT_EQ(coluna(alvo, "emprestado"), "1");
    EXPECT_EQ(coluna(alvo, "contrato"), "4") << "listed 2, one added, one more for the wait";
    const long ordenado = std::stol(coluna(alvo, "ordenado"));
    EXPECT_GE(ordenado, 4000) << "the wage comes from the full price";
    EXPECT_LE(ordenado, 6000);
    EXPECT_EQ(principal("d_venda_out"), 340000);   // Int(400,001 * 0.85)
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'C' AND valor = 340000"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE valor = 340000"), 1);
    EXPECT_EQ(marcador(), Clube_Treinador);
    EXPECT_EQ(Contrato_Compra, 3);
}

TEST_F(Compras, MoneyFloorAndStaleRows) {
    saldo(-600000);
    EXPECT_EQ(Comprar_Jogador_Listado(listado(alvo, 400001), Lista_Origem::Venda), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Não tem Dinheiro suficiente - Saldo: (-600000)");
    EXPECT_EQ(coluna(alvo, "equipa"), outro);

    // The row says he is at `outro`; he has moved since.
    saldo(2000000);
    Base_Dados->Execute("UPDATE jogadores SET equipa = 'Outro Lado' WHERE rowid = ?", {alvo});
    Jogador_Listado velho = listado(alvo, 1000, 500);
    velho.clube = outro;
    EXPECT_EQ(Comprar_Jogador_Listado(velho, Lista_Origem::Venda), Resultado_Negocio::Recusado);
    EXPECT_EQ(Pedir_Emprestado_Listado(velho, Lista_Origem::Venda), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Este jogador já não se encontra disponível neste clube.");
    EXPECT_EQ(coluna(alvo, "equipa"), "Outro Lado");
    EXPECT_EQ(principal("d_out"), 0);

    // Exactly down to the floor goes through.
    Base_Dados->Execute("UPDATE jogadores SET equipa = ? WHERE rowid = ?", {outro, alvo});
    saldo(-600000);
    Jornada_Actual = 30;
    porta.responder(Resposta::Nao);
    EXPECT_EQ(Comprar_Jogador_Listado(listado(alvo, 400000), Lista_Origem::Venda), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
}

TEST_F(Compras, BorrowingForTheRestOfTheSeason) {
    Base_Dados->Execute("UPDATE jogadores SET idade = 31 WHERE rowid = ?", {alvo});
    EXPECT_EQ(Pedir_Emprestado_Listado(listado(alvo, 0, 5000), Lista_Origem::Venda), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Este jogador não quer ser emprestado.");
    EXPECT_EQ(Pedir_Emprestado_Listado(livre(22), Lista_Origem::Venda), Resultado_Negocio::Recusado);
    EXPECT_EQ(ultima(), "Este jogador não pode ser emprestado.");

    Base_Dados->Execute("UPDATE jogadores SET idade = 30 WHERE rowid = ?", {alvo});
    ASSERT_EQ(Pedir_Emprestado_Listado(listado(alvo, 0, 77000), Lista_Origem::Todos), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "O Jogador é emprestado até ao final da época.");
    EXPECT_EQ(coluna(alvo, "equipa"), Clube_Treinador);
    EXPECT_EQ(coluna(alvo, "clube_origem"), outro);
    EXPECT_EQ(coluna(alvo, "emprestado"), "1");
    EXPECT_EQ(coluna(alvo, "contrato"), "2");
    EXPECT_EQ(principal("d_emp_out"), 77000);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'E+' AND valor = 77000 AND nome = ?",
                     {"Zé D'Almeida (30)"}),
              1);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes"), 0) << "loans are not logged league-wide";
    EXPECT_EQ(marcador(), outro) << "his all-time row stays";
}

TEST_F(Compras, AFailedWriteUndoesTheWholeDeal) {
    Base_Dados->Execute("CREATE TRIGGER trava BEFORE INSERT ON transferencias BEGIN SELECT RAISE(ABORT, 'travado'); END");
    Jornada_Actual = 30;
    porta.responder(Resposta::Nao);
    EXPECT_EQ(Comprar_Jogador_Listado(listado(alvo, 400000), Lista_Origem::Venda), Resultado_Negocio::Falhou);
    EXPECT_NE(ultima().find("Nada foi alterado"), std::string::npos);
    EXPECT_EQ(coluna(alvo, "equipa"), outro);
    EXPECT_EQ(marcador(), outro);
    EXPECT_EQ(principal("d_total"), 2000000);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes"), 0);
}

TEST_F(Compras, EachListHasItsOwnEnglish) {
    Lingua = "I";
    ASSERT_EQ(Comprar_Jogador_Listado(livre(22), Lista_Origem::Venda), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "You buy the player NOVO O'NEIL for 20,000. Contarct lenght is 2 year(s).");
    Aviso_Ja_Transferido(Lista_Origem::Venda, true);
    EXPECT_EQ(ultima(), "This player was already sold.");
    Aviso_Ja_Transferido(Lista_Origem::Todos, true);
    EXPECT_EQ(ultima(), "This player was alredy transfer.");
    Aviso_Ja_Transferido(Lista_Origem::Todos, false);
    EXPECT_EQ(ultima(), "this player was already transfered.");
    Jornada_Actual = 26;
    porta.responder(Resposta::Nao);
    ASSERT_EQ(Comprar_Jogador_Listado(listado(alvo, 400000), Lista_Origem::Todos), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "You buy the player ZÉ D'ALMEIDA for 400,000. The contract lenght is 3 year(s).");
}

} // namespace
} // namespace gv
