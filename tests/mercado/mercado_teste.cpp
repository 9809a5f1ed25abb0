// The market without a window: the club's business (the bank, stadium seats
// and the training camp); the transfer list, the list of all players, a
// club's squad, the computer clubs' purchases, and the manager buying and
// borrowing from the lists.

#include "apoio_mercado.h"
#include "platform/texto.h"
#include "data/clubes.h"
#include "market/banco.h"
#include "market/compras.h"
#include "market/estadio.h"
#include "market/estagio.h"

namespace gv {
namespace {

class Clube : public teste::Com_Jogo {
protected:
    void estadio(long lugares) { sql("UPDATE clubes SET cap_estadio = ? WHERE clube = ?", {lugares, Clube_Treinador}); }
    // Squad worth 2 * metade and a stadium of `lugares`.
    void limite(long metade, long lugares) {
        sql("UPDATE jogadores SET preco = 0 WHERE equipa = ?", {Clube_Treinador});
        jogador(Clube_Treinador, "md", 25, 50, 2 * metade);
        estadio(lugares);
    }
    // A division 2 club of 20,000 seats with wage bill 40,000, a lent-out player's counted.
    void clube_divisao_2() {
        sql("UPDATE clubes SET div = 2, cap_estadio = 20000 WHERE clube = ?", {Clube_Treinador});
        sql("UPDATE jogadores SET ordenado = 0 WHERE equipa = ?", {Clube_Treinador});
        sql("UPDATE jogadores SET ordenado = 30000 WHERE rowid = (SELECT min(rowid) FROM jogadores WHERE equipa = ?)", {Clube_Treinador});
        sql("UPDATE jogadores SET ordenado = 10000, emprestado = 1, clube_origem = ? WHERE rowid = ?",
            {Clube_Treinador, jogador(outro, "df", 24, 50, 0)});
    }
};

TEST_F(Clube, LoanInstalmentTotalAndLimit) {
    // 100,000 * 1.05^5 = 127,628.15...; spread over 5 * 34 matchdays.
    for (auto [valor, epocas, prestacao, total] : {std::tuple{340000, 1, 10500L, 357000L}, {100000, 5, 750L, 127628L}, {100000, 0, 0L, 0L}}) {
        const auto c = Calcular_Emprestimo(valor, epocas);
        EXPECT_EQ(std::pair(c.prestacao, c.total), std::pair(prestacao, total)) << valor << " over " << epocas;
    }
    limite(500000, 30000);
    EXPECT_DOUBLE_EQ(Limite_Emprestimo(), 500000 + 20000 * 125) << "half the squad and the seats above 10,000";
    limite(500000, 6000);
    EXPECT_DOUBLE_EQ(Limite_Emprestimo(), 500000 - 4000 * 125) << "a small stadium lowers the limit";
    EXPECT_EQ(Texto_Limite(1234567.5) + " " + Texto_Limite(1234567), "1234567.5 1234567");
}

TEST_F(Clube, LoanAmountRulesInTheirOrder) {
    limite(100000, 10000);   // limit exactly 100,000
    EXPECT_EQ(recusa(Pedir_Emprestimo(10000, 1)), "O valor do emprestimo tem que ser maior que 10000.");
    EXPECT_EQ(recusa(Pedir_Emprestimo(100001, 1)), "Valor do Emprestimo muito Alto.");
    EXPECT_EQ(principal("d_b_divida"), 0);
    ASSERT_EQ(Pedir_Emprestimo(100000, 2), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Emprestimo efectuado.");
    // 100,000 * 1.05^2, the instalment over 68 matchdays.
    EXPECT_EQ(linha("SELECT d_total, d_in, d_b_divida, d_b_mensal FROM principal"), "2100000|100000|110250|1621");
    // Any debt at all blocks a second loan.
    sql("UPDATE principal SET d_b_divida = 1");
    EXPECT_EQ(recusa(Pedir_Emprestimo(20000, 1)), "Já tem um Empréstimo.");
    Lingua = "I";
    EXPECT_EQ(recusa(Pedir_Emprestimo(500, 1)), "The loan must be higher than 10000.");
    // A failed posting leaves no debt behind.
    sql("UPDATE principal SET d_b_divida = 0");
    sql("CREATE TRIGGER trava BEFORE UPDATE OF d_in ON principal BEGIN SELECT RAISE(ABORT, 'travado'); END");
    EXPECT_EQ(Pedir_Emprestimo(50000, 1), Resultado_Negocio::Falhou);
    EXPECT_NE(ultima().find("Nothing was changed"), std::string::npos) << ultima();
    EXPECT_EQ(linha("SELECT d_total, d_b_divida, d_b_mensal FROM principal"), "2100000|0|1621");
}

TEST_F(Clube, EarlyRepaymentKeepsTheInstalment) {
    EXPECT_EQ(recusa(Amortizar_Emprestimo(5000)), "Não tem nenhum Empréstimo.");
    sql("UPDATE principal SET d_b_divida = 50000, d_b_mensal = 2000");
    EXPECT_EQ(recusa(Amortizar_Emprestimo(50001)), "O Empréstimo não é tao Elevado.");
    EXPECT_EQ(recusa(Amortizar_Emprestimo(1000)), "O valor da amortização tem que ser maior que 1000.");
    ASSERT_EQ(Amortizar_Emprestimo(50000), Resultado_Negocio::Feito);
    EXPECT_EQ(linha("SELECT d_total, d_b_divida, d_b_mensal, d_out FROM principal"), "1950000|0|2000|50000");
    // A debt of 1,000 or less can no longer be repaid early.
    sql("UPDATE principal SET d_b_divida = 1000");
    EXPECT_EQ(Amortizar_Emprestimo(1000), Resultado_Negocio::Recusado);
    EXPECT_EQ(Amortizar_Emprestimo(1001), Resultado_Negocio::Recusado);
}

TEST_F(Clube, StadiumSeatRulesPriceAndSpendingFloor) {
    estadio(95000);
    saldo(1000000);
    EXPECT_EQ(recusa(Ampliar_Estadio(999)), "Tem que comprar pelo menos 1000 lugares.");
    EXPECT_EQ(Ampliar_Estadio(0), Resultado_Negocio::Recusado) << "an empty box counts as no seats";
    EXPECT_EQ(recusa(Ampliar_Estadio(5001)), "A capacidade Maxima é de 100000 lugares.");
    ASSERT_EQ(Ampliar_Estadio(5000), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Estadio Ampliado em 5000 lugares.");
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 100000);
    EXPECT_EQ(linha("SELECT d_total, d_out FROM principal"), "250000|750000");
    // Exactly down to the floor of -1,000,000.
    estadio(20000);
    saldo(-850000);
    ASSERT_EQ(Ampliar_Estadio(1000), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
    saldo(-849999);
    EXPECT_EQ(recusa(Ampliar_Estadio(1001)), "Não tem Dinheiro suficiente - Saldo: (-849999)");
    // Already past the floor: refused before the seat rules.
    saldo(-1000001);
    EXPECT_EQ(recusa(Ampliar_Estadio(10)), "Não tem Dinheiro suficiente");
    EXPECT_EQ(Capacidade_Estadio(Clube_Treinador), 21000);
    EXPECT_FLOAT_EQ(Fraccao_Estadio(50000), 0.5f);
    EXPECT_EQ(Texto_Estadio(50000), "50,000 Lugares");
    Lingua = "I";
    EXPECT_EQ(Texto_Estadio(1234), "1,234 Seats");
}

TEST_F(Clube, CampPriceFromWagesSeatsAndDivisionAndWhoGainsStrength) {
    clube_divisao_2();
    // (40,000 + 20,000) * 1.5 * 2.5 for the third level.
    EXPECT_EQ(std::to_string(Preco_Estagio(3)) + " " + std::to_string(Preco_Estagio(2)) + " " + std::to_string(Preco_Estagio(1)),
              "225000 300000 600000");
    const long long ferido = jogador(Clube_Treinador, "md", 25, 99, 0, "Ferido");
    sql("UPDATE jogadores SET joga = 3 WHERE rowid = ?", {ferido});
    const long long forte = jogador(Clube_Treinador, "md", 25, 99, 0, "Forte");
    const long long fora = jogador(outro, "av", 25, 60, 0, "Fora");
    sql("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {Clube_Treinador, fora});
    const long long cedido = jogador(Clube_Treinador, "av", 25, 60, 0, "Cedido");
    sql("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {outro, cedido});
    saldo(0);
    ASSERT_EQ(Marcar_Estagio(1), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Estágio Realizado.");
    // No upper bound; not the injured; a player lent out trains with his new
    // club, one on loan here with this one.
    EXPECT_EQ(coluna(forte, "forca") + " " + coluna(ferido, "forca") + " " + coluna(fora, "forca") + " " + coluna(cedido, "forca"),
              "106 99 60 67");
    EXPECT_EQ(principal("d_total"), -600000);
}

TEST_F(Clube, CampRefusedForMoneyYetTheMatchdaysCampIsUsed) {
    clube_divisao_2();
    saldo(-1000000 + 225000);
    Estagio_Feito = 0;
    EXPECT_EQ(recusa(Marcar_Estagio(2)), "Não tem Dinheiro suficiente - Saldo: (-775000)");
    EXPECT_EQ(Estagio_Feito, 1);
    // The cheaper level still fits, exactly down to the floor.
    ASSERT_EQ(Marcar_Estagio(3), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
}

TEST_F(Clube, CampOnlyOnFourMatchdaysAndOncePerDeskVisit) {
    // The matchday is checked first.
    for (auto [jornada, feito] : {std::pair{2, 0}, {11, 0}, {34, 0}, {11, 1}}) {
        Jornada_Actual = jornada;
        Estagio_Feito = feito;
        EXPECT_FALSE(Estagio_Permitido()) << jornada;
        EXPECT_EQ(ultima(), "A equipa só pode ir para Estágio nas jornadas: 1, 10, 20, 30");
    }
    Jornada_Actual = 10;
    EXPECT_FALSE(Estagio_Permitido());
    EXPECT_EQ(ultima(), "Os jogadores só podem ir uma vez por jornada para Estágio.");
    Estagio_Feito = 0;
    EXPECT_TRUE(Estagio_Permitido());
}

// ---------------------------------------------------------------- the lists and the purchases

class Listas : public teste::Com_Jogo {};

TEST_F(Listas, TransferListHasThreeKindsInOrder) {
    const long long menino = jogador(outro, "df", 16, 70, 500000, "Menino");
    const long long cedido = jogador(outro, "df", 25, 70, 500000, "Cedido");
    sql("UPDATE jogadores SET emprestado = 1 WHERE rowid = ?", {cedido});
    for (int vez = 0; vez < 25; ++vez) {
        const auto lista = Jogadores_Venda();
        std::size_t i = 0, livres = 0, juniores = 0;
        for (; i < lista.size() && !lista[i].sem_clube(); ++i) {
            const auto& j = lista[i];
            EXPECT_TRUE(j.clube != Clube_Treinador && j.rowid != menino && j.rowid != cedido && j.idade > 16) << j.nome;
            EXPECT_EQ(j.preco, std::stol(coluna(j.rowid, "preco"))) << "sold at his value";
            EXPECT_TRUE(j.taxa >= 0 && j.taxa <= j.preco / 5 + 1) << j.taxa;
        }
        EXPECT_TRUE(i >= 5 && i <= 24) << i << " players of the league";
        for (; i < lista.size(); ++i) {
            const auto& j = lista[i];
            ASSERT_TRUE(j.sem_clube());
            EXPECT_TRUE(j.rowid == 0 && j.golos == -1 && j.contrato == -1 && j.taxa == -1) << j.nome;
            const bool livre = j.idade >= 20;   // free players come before the juniors
            EXPECT_TRUE(livre ? juniores == 0 && j.idade <= 31 && j.forca >= 10 && j.forca <= 89
                              : j.idade >= 13 && j.idade <= 15 && j.forca >= 10 && j.forca <= 29 && j.preco >= 10000 && j.preco <= 38999)
                << j.idade << " " << j.forca << " " << j.preco;
            ++(livre ? livres : juniores);
        }
        EXPECT_TRUE(livres >= 6 && livres <= 10) << livres << " free players";
        EXPECT_TRUE(juniores >= 2 && juniores <= 6) << juniores << " juniors";
    }
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = '-'"), 0) << "drawing writes nothing";
}

TEST_F(Listas, AllPlayersListFiltersByDivisionPositionAndAgeBand) {
    const std::string d1 = linha("SELECT clube FROM clubes WHERE div = 1 AND clube <> ?", {Clube_Treinador});
    sql("DELETE FROM jogadores WHERE pos = 'gk'");
    std::vector<long long> id;
    for (auto [idade, nome] : {std::pair{20, "Bruno"}, {21, "Abel"}, {25, "Carlos"}, {30, "Dinis"}, {31, "Eça"}})
        id.push_back(jogador(d1, "gk", idade, 50, 100000, nome));
    sql("UPDATE jogadores SET emprestado = 1 WHERE rowid = ?", {jogador(d1, "gk", 18, 50, 1, "Emprestado")});
    jogador(Clube_Treinador, "gk", 18, 50, 100000, "Meu");
    jogador("Sem Liga FC", "gk", 18, 50, 100000, "Fora da liga");
    auto ids = [](int div, int faixa) {
        std::vector<long long> r;
        for (auto& j : Jogadores_Lista(div, "gk", faixa)) r.push_back(j.rowid);
        return r;
    };
    EXPECT_EQ(ids(1, 0), std::vector<long long>{id[0]});
    EXPECT_EQ(ids(1, 1), (std::vector<long long>{id[1], id[2]})) << "by name";
    EXPECT_EQ(ids(1, 2), std::vector<long long>{id[3]});
    EXPECT_EQ(ids(1, 3), std::vector<long long>{id[4]});
    EXPECT_TRUE(ids(2, 1).empty());
    for (int vez = 0; vez < 20; ++vez)
        for (const auto& j : Jogadores_Lista(1, "gk", 1)) {
            EXPECT_EQ(j.preco, 200000);
            EXPECT_TRUE(j.taxa >= 0 && j.taxa <= 60000) << j.taxa;
        }
}

TEST_F(Listas, SquadIsByLineStrongestFirst) {
    sql("DELETE FROM jogadores WHERE equipa = ?", {outro});
    for (auto [pos, forca, nome] : {std::tuple{"av", 80, "A1"}, {"gk", 40, "G1"}, {"df", 60, "D1"}, {"gk", 70, "G2"}})
        jogador(outro, pos, 25, forca, 0, nome);
    std::string nomes;
    for (auto& j : Plantel_Clube(outro)) nomes += j.nome + " ";
    EXPECT_EQ(nomes, "G2 G1 D1 A1 ");
    EXPECT_TRUE(Plantel_Clube("Ninguém").empty());
}

// A computer club buys a listed adult on a draw below 0.25, never a junior
// nor a row gone stale; the buyer is drawn as for an offer.
TEST_F(Listas, ComputerClubsBuyOnAQuarterOfTheDrawsButNeverJuniorsNorStaleRows) {
    const long long a_venda = jogador(outro, "md", 25, 70, 300000, "A Venda");
    const long long meu = jogador(outro, "md", 25, 50, 300000, "Já Meu");
    const std::vector<Jogador_Listado> linhas{livre("Livre A", "md", 22, 50, 123456), livre("Livre B", "md", 22, 50, 1),
                                              livre("Junior", "md", 16, 50, 1), listado(meu, 300000),
                                              listado(a_venda, 300000)};
    // Bought by the manager on the other list meanwhile.
    sql("UPDATE jogadores SET equipa = ? WHERE rowid = ?", {Clube_Treinador, meu});
    // Each row's draw, and after a purchase the buyer's kind (0.9: short in the position).
    Sorteios_Fixados s(teste::sorteios({0.2499, 0.9, 0.25, 0.0, 0.0, 0.0, 0.9}, 0.99));
    EXPECT_EQ(Transferir_Jogadores(linhas), 2);
    const std::string comprador = linha("SELECT equipa FROM jogadores WHERE nome = 'Livre A'");
    // Strength 50 interests the second division, 70 the first.
    EXPECT_EQ(linha("SELECT div, preco FROM clubes, jogadores WHERE clube = equipa AND nome = 'Livre A'"), "2|123456");
    EXPECT_EQ(linha("SELECT div FROM clubes, jogadores WHERE clube = equipa AND jogadores.rowid = ? AND equipa <> ?", {a_venda, outro}), "1");
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome IN ('Livre B', 'Junior')"), 0);
    EXPECT_EQ(coluna(meu, "equipa"), Clube_Treinador);
    EXPECT_EQ(linha("SELECT count(*), sum(tipo = ?) FROM transferencias_clubes", {"(0) - -> " + comprador + " (2)"}), "2|1");
    EXPECT_TRUE(porta.mensagens.empty());
}

// The matchday's purchases are saved together, each one whole or undone alone.
TEST_F(Listas, AComputerPurchaseThatFailsMidWriteIsUndoneAloneAndAFailedSaveUndoesThemAll) {
    {
        armar_falha("compra_clube.gravar", SQLITE_FULL);
        Sorteios_Fixados s(teste::sorteios({0.0, 0.9, 0.0, 0.9}, 0.99));
        EXPECT_EQ(Transferir_Jogadores({livre("Livre A", "md", 22, 50, 1), livre("Livre B", "md", 22, 50, 1)}), 1);
    }
    EXPECT_EQ(ultima(), "Algumas transferências entre clubes não foram feitas:\nLivre A: O disco está cheio.");
    EXPECT_EQ(linha("SELECT group_concat(nome) FROM jogadores WHERE nome LIKE 'Livre %'"), "Livre B");
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes"), 1);

    const std::string antes = teste::conteudo_base(*Base_Dados);
    armar_falha("transferencias.gravar", SQLITE_FULL);
    Sorteios_Fixados s(teste::sorteios({0.0, 0.9, 0.0, 0.9}, 0.99));
    EXPECT_EQ(Transferir_Jogadores({livre("Livre C", "md", 22, 50, 1), livre("Livre D", "md", 22, 50, 1)}), 0);
    EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes);
    EXPECT_FALSE(Base_Dados->em_transaccao());
    EXPECT_EQ(ultima(), "Algumas transferências entre clubes não foram feitas:\nLivre C: O disco está cheio.\n"
                        "Livre D: O disco está cheio.");
}

// Inside the round's transaction each purchase's writes are put back one by
// one: the player's row and his scorer row, spelled as they were, and the
// round's transaction goes on with the purchases that stood.
TEST_F(Listas, InsideTheRoundAFailedPurchaseIsPutBackAsItWasAndTheRoundGoesOn) {
    const long long vendido = jogador(outro, "md", 25, 70, 300000, "Rui O'Hara");
    const std::string grafia = maiusculas(outro);
    sql("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) VALUES ('Rui O''Hara', ?, 'md', 25, 7, 1)",
        {grafia});
    db::Transaccao ronda(*Base_Dados);
    {
        armar_falha("compra_clube.gravar", SQLITE_FULL);
        Sorteios_Fixados s(teste::sorteios({0.0, 0.9, 0.0, 0.9}, 0.99));
        EXPECT_EQ(Transferir_Jogadores({listado(vendido, 300000), livre("Livre B", "md", 22, 50, 1)}), 1);
    }
    EXPECT_EQ(ultima(), "Algumas transferências entre clubes não foram feitas:\nRui O'Hara: O disco está cheio.");
    EXPECT_EQ(coluna(vendido, "equipa, preco"), outro + "|300000");
    EXPECT_EQ(linha("SELECT equipa FROM Melhores_Marcadores_Sempre WHERE nome = 'Rui O''Hara'"), grafia);
    EXPECT_EQ(linha("SELECT count(*), group_concat(nome) FROM transferencias_clubes"), "1|Livre B");

    const std::string uma = teste::conteudo_base(*Base_Dados);
    {
        armar_falha("transferencias.gravar", SQLITE_FULL);
        Sorteios_Fixados s(teste::sorteios({0.0, 0.9, 0.0, 0.9}, 0.99));
        EXPECT_EQ(Transferir_Jogadores({listado(vendido, 300000), livre("Livre C", "md", 22, 50, 1)}), 0);
    }
    EXPECT_EQ(teste::conteudo_base(*Base_Dados), uma);
    ASSERT_TRUE(Base_Dados->em_transaccao());
    ronda.commit();
    EXPECT_EQ(linha("SELECT count(*) FROM jogadores WHERE nome = 'Livre B'"), "1");
}

class Compras : public teste::Com_Jogo {
protected:
    void SetUp() override {
        Com_Jogo::SetUp();
        alvo = jogador(outro, "md", 24, 55, 400000);
        sql("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) VALUES (?, ?, 'md', 24, 12, 1)",
            {"Zé D'Almeida", outro});
        saldo(2000000);
    }
    static Jogador_Listado novo(int idade, long preco = 20000) { return livre("Novo O'Neil", "df", idade, 40, preco); }
    std::string marcador() { return linha("SELECT equipa FROM Melhores_Marcadores_Sempre WHERE nome = 'Zé D''Almeida'"); }
    static Resultado_Negocio comprar(const Jogador_Listado& j, Lista_Origem o = Lista_Origem::Venda) { return Comprar_Jogador_Listado(j, o); }
    static Resultado_Negocio pedir(const Jogador_Listado& j, Lista_Origem o = Lista_Origem::Venda) { return Pedir_Emprestado_Listado(j, o); }
    long long alvo = 0;
};

TEST_F(Compras, AFreePlayerJoinsWithAFreshValueAndTwoSeasons) {
    ASSERT_EQ(comprar(novo(22, 300000)), Resultado_Negocio::Feito);
    const long long id = Base_Dados->valor("SELECT rowid FROM jogadores WHERE nome = ?", {"Novo O'Neil"}).inteiro();
    // Contract: '-' counts as 1, plus the added season.
    EXPECT_EQ(coluna(id, "equipa, contrato, joga, clube_origem"), Clube_Treinador + "|2|0|0");
    const long banda = (40 - 22) * 40 * 400, preco = std::stol(coluna(id, "preco")), ordenado = std::stol(coluna(id, "ordenado"));
    EXPECT_TRUE(preco >= banda / 2 && preco <= banda) << preco << ": priced by the band, not by what was paid";
    EXPECT_TRUE(ordenado >= 3000 && ordenado <= 4500) << ordenado;
    EXPECT_EQ(linha("SELECT d_venda_out, d_total FROM principal"), "300000|1700000");
    EXPECT_EQ(linha("SELECT nome, valor FROM transferencias WHERE Tipo = 'C'"), "Novo O'Neil (22)|300000");
    EXPECT_EQ(linha("SELECT tipo FROM transferencias_clubes"), "(0) - -> " + Clube_Treinador + " (1)");
    EXPECT_EQ(ultima(), "Comprou o Jogador NOVO O'NEIL por 300,000. Contrato de 2 Época(s).");
}

TEST_F(Compras, FourJuniorsASeasonFromTheTransferList) {
    for (int i = 0; i < 4; ++i)
        sql("INSERT INTO transferencias (Epoca, Jornada, pos, nome, forca, Tipo, valor, idade) "
            "VALUES (?, 1, 'md', 'x', 20, 'C', 10000, 15)",
            {Epoca_Actual});
    EXPECT_EQ(recusa(comprar(novo(16))), "Só pode comprar 4 jogadores por Época com idade inferior a 17 anos.");
    EXPECT_EQ(principal("d_venda_out"), 0);
    EXPECT_EQ(comprar(novo(17)), Resultado_Negocio::Feito);
    sql("UPDATE jogadores SET idade = 16 WHERE rowid = ?", {alvo});
    Jornada_Actual = 2;
    porta.responder(Resposta::Nao);
    EXPECT_EQ(comprar(listado(alvo, 400000), Lista_Origem::Todos), Resultado_Negocio::Feito)
        << "the list of all players has no junior limit";
}

TEST_F(Compras, FromMatchday26TheClubAlwaysCounterOffersAndNoBuysAtOnce) {
    Jornada_Actual = 26;
    for (int i = 0; i < 3; ++i) {
        const long long id = jogador(outro, "av", 25, 50, 100000, "Av " + std::to_string(i));
        porta.responder(Resposta::Nao);
        ASSERT_EQ(comprar(listado(id, 100000)), Resultado_Negocio::Feito);
        const auto& q = porta.mensagens[porta.mensagens.size() - 2];
        EXPECT_EQ(q.titulo, "Compra de Jogador");
        EXPECT_EQ(q.botoes, Botoes::SimNao);
        EXPECT_EQ(q.botao_defeito, 1) << "No is the default";
        EXPECT_EQ(q.texto, "A sua Proposta foi aceite mas o clube " + outro +
                               " propoe ficar com o jogador até final \nda epoca por um desconto de 15%, i. e. - Custo "
                               "85,000. Concorda ? ");
        EXPECT_EQ(coluna(id, "equipa, contrato"), Clube_Treinador + "|3");
    }
    EXPECT_EQ(principal("d_venda_out"), 300000);
}

TEST_F(Compras, AcceptedCounterOfferIsADeferredPurchase) {
    Jornada_Actual = 30;
    porta.responder(Resposta::Sim);
    ASSERT_EQ(comprar(listado(alvo, 400001), Lista_Origem::Todos), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "O jogador ficara emprestado até ao fim da epoca.");
    // He plays for his club until the season ends; contract: listed 2, one
    // added, one more for the wait.
    EXPECT_EQ(coluna(alvo, "equipa, clube_origem, emprestado, contrato"), outro + "|" + Clube_Treinador + "|1|4");
    const long ordenado = std::stol(coluna(alvo, "ordenado"));
    EXPECT_TRUE(ordenado >= 4000 && ordenado <= 6000) << ordenado << ": the wage comes from the full price";
    EXPECT_EQ(principal("d_venda_out"), 340000);   // Int(400,001 * 0.85)
    EXPECT_EQ(linha("SELECT t.valor, c.valor FROM transferencias t, transferencias_clubes c WHERE t.Tipo = 'C'"),
              "340000|340000");
    EXPECT_EQ(marcador(), Clube_Treinador);
    EXPECT_EQ(Contrato_Compra, 3);
}

TEST_F(Compras, MoneyFloorStaleRowsAndAFailedWrite) {
    // A failed write undoes the whole deal.
    sql("CREATE TRIGGER trava BEFORE INSERT ON transferencias BEGIN SELECT RAISE(ABORT, 'travado'); END");
    Jornada_Actual = 30;
    porta.responder(Resposta::Nao);
    const std::string antes = teste::conteudo_base(*Base_Dados);
    EXPECT_EQ(comprar(listado(alvo, 400000)), Resultado_Negocio::Falhou);
    EXPECT_NE(ultima().find("Nada foi alterado"), std::string::npos);
    EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes);
    sql("DROP TRIGGER trava");
    saldo(-600000);
    EXPECT_EQ(recusa(comprar(listado(alvo, 400001))), "Não tem Dinheiro suficiente - Saldo: (-600000)");
    EXPECT_EQ(coluna(alvo, "equipa"), outro);
    // The row says he is at `outro`; he has moved since.
    saldo(2000000);
    sql("UPDATE jogadores SET equipa = 'Outro Lado' WHERE rowid = ?", {alvo});
    Jogador_Listado velho = listado(alvo, 1000, 500);
    velho.clube = outro;
    EXPECT_EQ(recusa(comprar(velho)), "Este jogador já não se encontra disponível neste clube.");
    EXPECT_EQ(recusa(pedir(velho)), "Este jogador já não se encontra disponível neste clube.");
    EXPECT_EQ(coluna(alvo, "equipa"), "Outro Lado");
    EXPECT_EQ(principal("d_out"), 0);
    // Exactly down to the floor goes through.
    sql("UPDATE jogadores SET equipa = ? WHERE rowid = ?", {outro, alvo});
    saldo(-600000);
    porta.responder(Resposta::Nao);
    EXPECT_EQ(comprar(listado(alvo, 400000)), Resultado_Negocio::Feito);
    EXPECT_EQ(principal("d_total"), -1000000);
}

TEST_F(Compras, BorrowingForTheRestOfTheSeason) {
    sql("UPDATE jogadores SET idade = 31 WHERE rowid = ?", {alvo});
    EXPECT_EQ(recusa(pedir(listado(alvo, 0, 5000))), "Este jogador não quer ser emprestado.");
    EXPECT_EQ(recusa(pedir(novo(22))), "Este jogador não pode ser emprestado.");
    sql("UPDATE jogadores SET idade = 30 WHERE rowid = ?", {alvo});
    ASSERT_EQ(pedir(listado(alvo, 0, 77000), Lista_Origem::Todos), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "O Jogador é emprestado até ao final da época.");
    EXPECT_EQ(coluna(alvo, "equipa, clube_origem, emprestado, contrato"), Clube_Treinador + "|" + outro + "|1|2");
    EXPECT_EQ(principal("d_emp_out"), 77000);
    EXPECT_EQ(linha("SELECT Tipo, valor, nome FROM transferencias"), "E+|77000|Zé D'Almeida (30)");
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes"), 0) << "loans are not logged league-wide";
    EXPECT_EQ(marcador(), outro) << "his all-time row stays";
}

TEST_F(Compras, EachListHasItsOwnEnglish) {
    Lingua = "I";
    ASSERT_EQ(comprar(novo(22)), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "You buy the player NOVO O'NEIL for 20,000. Contarct lenght is 2 year(s).");
    const std::tuple<Lista_Origem, bool, const char*> avisos[] = {
        {Lista_Origem::Venda, true, "This player was already sold."},
        {Lista_Origem::Todos, true, "This player was alredy transfer."},
        {Lista_Origem::Todos, false, "this player was already transfered."}};
    for (auto [origem, emprestimo, texto] : avisos) {
        Aviso_Ja_Transferido(origem, emprestimo);
        EXPECT_EQ(ultima(), texto);
    }
    Jornada_Actual = 26;
    porta.responder(Resposta::Nao);
    ASSERT_EQ(comprar(listado(alvo, 400000), Lista_Origem::Todos), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "You buy the player ZÉ D'ALMEIDA for 400,000. The contract lenght is 3 year(s).");
}

} // namespace
} // namespace gv
