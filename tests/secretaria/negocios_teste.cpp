// The manager's deals from the squad grid's player menu, and computer
// clubs' offers for his players, their draws held.

#include "../mercado/apoio_mercado.h"
#include "data/clubes.h"
#include "data/movimentos.h"
#include "desk/propostas.h"

namespace gv {
namespace {

constexpr double Maior_Sorteio = 1.0 - 1.0 / (1 << 24);   // the source's highest draw

class Negocios : public teste::Com_Jogo {
protected:
    void SetUp() override {
        Com_Jogo::SetUp();
        id = std::stoll(linha("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'md'", {Clube_Treinador}));
    }
    void mudar(const std::string& sets) { sql("UPDATE jogadores SET " + sets + " WHERE rowid = ?", {id}); }
    long long id = 0;
};

TEST_F(Negocios, SellingAtTheValueInTheGrid) {
    mudar("idade = 16");
    EXPECT_EQ(recusa(Vender_Jogador(id)), "Este jogador só pode ser vendido depois dos 17 anos.");
    mudar("idade = 25, preco = 250000");
    porta.responder(Resposta::Nao);
    EXPECT_EQ(Vender_Jogador(id), Resultado_Negocio::Desistiu);
    EXPECT_EQ(coluna(id, "equipa") + linha("SELECT d_in FROM principal"), Clube_Treinador + "0");
    porta.mensagens.clear();
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Vender_Jogador(id), Resultado_Negocio::Feito);
    ASSERT_EQ(porta.mensagens.size(), 2u);
    const auto& q = porta.mensagens[0].texto;
    EXPECT_TRUE(q.starts_with("O clube ") && q.ends_with("ª Div.), oferece 250,000.\nAceita ?")) << q;
    EXPECT_EQ(porta.mensagens[0].botao_defeito, 0);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Jogador Vendido ao ", 0), 0u);
    EXPECT_NE(coluna(id, "equipa"), Clube_Treinador);
    EXPECT_EQ(linha("SELECT d_venda_in, Tipo, valor, (SELECT count(*) FROM transferencias_clubes) FROM principal, transferencias"),
              "250000|V|250000|1");
}

TEST_F(Negocios, LendingFeesAndTheMatchdayLimit) {
    mudar("idade = 16, forca = 30, preco = 900000");
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Emprestar_Jogador(id), Resultado_Negocio::Feito);
    EXPECT_NE(porta.mensagens[0].texto.find("oferece 3,000."), std::string::npos) << porta.mensagens[0].texto;
    EXPECT_EQ(coluna(id, "emprestado, clube_origem"), "1|" + Clube_Treinador);
    EXPECT_EQ(linha("SELECT d_emp_in, Tipo, valor FROM principal, transferencias"), "3000|E-|3000");
    Jornada_Actual = 25;
    Lingua = "I";
    EXPECT_EQ(recusa(Emprestar_Jogador(std::stoll(linha("SELECT rowid FROM jogadores WHERE equipa = ?", {Clube_Treinador})))),
              "You only can loan players on the next year.");
}

TEST_F(Negocios, RenewalTermsByAgeAndTheirCostPaidAsWages) {
    // 1.5 % of the value is the floor.
    for (auto [idade, ordenado, preco, novo, epocas, custo] :
         {std::tuple{23, 10000, 1000000, 15000.0, 3, 75000L}, {31, 50000, 1000000, 45000.0, 4, 75000L}, {26, 20000, 100000, 22400.0, 4, 7500L}}) {
        const auto t = Termos_De_Renovacao(idade, ordenado, preco);
        EXPECT_DOUBLE_EQ(t.ordenado, novo) << idade;
        EXPECT_EQ(std::pair(t.epocas, t.custo), std::pair(epocas, custo)) << idade;
    }
    mudar("idade = 23, ordenado = 10000, preco = 1000000, contrato = 1");
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Renovar_Contrato(id), Resultado_Negocio::Feito);
    EXPECT_TRUE(porta.mensagens[0].texto.ends_with(
        " pretende 15,000 de Ordenado e um Contrato de 3 épocas.\nCusto de Renovação : 75,000\nAceita ?")) << porta.mensagens[0].texto;
    EXPECT_EQ(coluna(id, "ordenado, contrato"), "15000|3");
    EXPECT_EQ(linha("SELECT d_Ord, d_out FROM principal"), "75000|75000");
}

TEST_F(Negocios, BuyingTheLoanedInPlayer) {
    const long long alheio = std::stoll(linha("SELECT rowid FROM jogadores WHERE equipa <> ?", {Clube_Treinador}));
    EXPECT_EQ(Vender_Jogador(alheio), Resultado_Negocio::Falhou) << "another club's player";
    EXPECT_EQ(Comprar_Jogador_Emprestado(alheio), Resultado_Negocio::Falhou);
    EXPECT_EQ(linha("SELECT d_in, d_out FROM principal"), "0|0");
    mudar("emprestado = 1, clube_origem = 'Dono FC', contrato = 2, preco = 400000");
    ASSERT_EQ(Comprar_Jogador_Emprestado(id), Resultado_Negocio::Feito);
    EXPECT_EQ(ultima(), "Jogador Comprado.");
    // The upkeep after the next league round writes the owner's 0.
    EXPECT_EQ(coluna(id, "contrato, emprestado, clube_origem"), "3|0|");
    EXPECT_EQ(linha("SELECT d_venda_out, Tipo, valor FROM principal, transferencias"), "400000|C|400000");
}

TEST_F(Negocios, ADealThatFailsMidWriteChangesNothingAndIsReported) {
    mudar("idade = 23, contrato = 1");
    const std::pair<const char*, Resultado_Negocio (*)(long long)> negocios[] = {
        {"venda.gravar", [](long long j) { return Vender_Jogador(j); }},
        {"emprestimo.gravar", [](long long j) { return Emprestar_Jogador(j); }},
        {"renovacao.gravar", [](long long j) { return Renovar_Contrato(j); }}};
    const std::string antes = teste::conteudo_base(*Base_Dados);
    for (auto [ponto, negocio] : negocios) {
        armar_falha(ponto, SQLITE_FULL);
        porta.responder(Resposta::Sim);
        EXPECT_EQ(negocio(id), Resultado_Negocio::Falhou) << ponto;
        EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes) << ponto;
        EXPECT_EQ(ultima(), "Não foi possível concluir a operação. Nada foi alterado.\nO disco está cheio.") << ponto;
    }
}

class Propostas_Teste : public Negocios {
protected:
    void SetUp() override {
        Negocios::SetUp();
        // Every player worth 1,000,000 with a second-division strength; the
        // first draw of a player picks the first outfield one.
        sql("UPDATE jogadores SET preco = 1000000, forca = 50, joga = 0 WHERE equipa = ?", {Clube_Treinador});
        id = std::stoll(linha("SELECT min(rowid) FROM jogadores WHERE equipa = ? AND pos <> 'gk'", {Clube_Treinador}));
        nome = coluna(id, "nome || ' (' || pos || ')'");
    }
    // The draws in turn: an offer or none, which player, loan or sale, the
    // club's kind (0.9: short of players in the position), the value.
    Resultado_Proposta propor(double oferta, double tipo, double valor, Resposta r = Resposta::Nao, double escolha = 0) {
        Sorteios_Fixados s({oferta, escolha, tipo, 0.9, valor});
        porta.mensagens.clear();
        porta.responder(r);
        const auto resultado = Propostas();
        porta.respostas.clear();
        return resultado;
    }
    std::string nome;
};

TEST_F(Propostas_Teste, AnOfferNeedsADrawOfPointFourAndALoanOneAboveHalfUpToMatchday25) {
    const std::string antes = teste::conteudo_base(*Base_Dados);
    struct Caso { int jornada; double oferta, tipo; const char* pede; };
    for (const Caso& c : {Caso{1, 0.3999, 0.9, nullptr}, Caso{1, 0.4, 0.5, "VENDER"}, Caso{1, 0.4, 0.5001, "EMPRESTAR"},
                          Caso{25, 0.4, Maior_Sorteio, "EMPRESTAR"}, Caso{26, 0.4, 0.5001, nullptr}, Caso{26, 0.4, 0.5, "VENDER"}}) {
        Jornada_Actual = c.jornada;
        EXPECT_EQ(propor(c.oferta, c.tipo, 0), c.pede ? Resultado_Proposta::Recusada : Resultado_Proposta::Nenhuma)
            << c.jornada << " " << c.oferta << " " << c.tipo;
        ASSERT_EQ(porta.mensagens.size(), c.pede ? 1u : 0u);
        EXPECT_TRUE(!c.pede || porta.mensagens[0].texto.find(c.pede) != std::string::npos) << porta.mensagens[0].texto;
    }
    EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes) << "a refused offer changes nothing";
    EXPECT_EQ(Proposta_Feita, 0);
}

TEST_F(Propostas_Teste, TheOfferedValueRunsFromItsLowestToItsHighestDraw) {
    const std::string venda = " pelo Jogador: " + nome + "\nAceita VENDER o Jogador?",
                      emprestimo = " pelo Jogador: " + nome + "\nAceita EMPRESTAR este jogador? ";
    struct Caso { double tipo, valor; std::string oferta; };
    for (const Caso& c : {Caso{0.5, 0, "950,000" + venda}, Caso{0.5, Maior_Sorteio, "1,849,999" + venda},
                          Caso{0.9, 0, "50,000" + emprestimo}, Caso{0.9, Maior_Sorteio, "349,999" + emprestimo}}) {
        propor(0.4, c.tipo, c.valor);
        ASSERT_EQ(porta.mensagens.size(), 1u);
        const auto& m = porta.mensagens[0];
        EXPECT_TRUE(m.texto.starts_with("O clube ") && m.texto.ends_with("(2ª Div.), oferece " + c.oferta)) << m.texto;
        EXPECT_EQ(m.icone, Icone::Pergunta);
        EXPECT_EQ(m.botao_defeito, 0) << "Yes is the default";
    }
}

TEST_F(Propostas_Teste, AcceptedLoanLendsThePlayerAndBooksTheFee) {
    ASSERT_EQ(propor(0.4, 0.9, Maior_Sorteio, Resposta::Sim), Resultado_Proposta::Emprestimo);
    EXPECT_EQ(Proposta_Feita, 1);
    EXPECT_EQ(Divisao_Clube(coluna(id, "equipa")), 2);
    EXPECT_EQ(coluna(id, "clube_origem, emprestado"), Clube_Treinador + "|1");
    EXPECT_EQ(linha("SELECT d_total, d_emp_in, Tipo, valor FROM principal, transferencias"), "2349999|349999|E-|349999");
    ASSERT_EQ(porta.mensagens.size(), 2u);
    const auto& aviso = porta.mensagens[1].texto;
    EXPECT_TRUE(aviso.starts_with("Jogador Emprestado ao ") && aviso.ends_with(" até ao final da época.")) << aviso;
}

TEST_F(Propostas_Teste, AcceptedSaleMovesThePlayerAtHisValueAndBooksThePrice) {
    ASSERT_EQ(propor(0.4, 0.5, 0, Resposta::Sim), Resultado_Proposta::Venda);
    const std::string clube = coluna(id, "equipa");
    EXPECT_EQ(Divisao_Clube(clube), 2);
    EXPECT_EQ(coluna(id, "preco"), "1000000");
    EXPECT_EQ(linha("SELECT d_total, d_venda_in, Tipo, valor FROM principal, transferencias"), "2950000|950000|V|950000");
    EXPECT_EQ(linha("SELECT tipo FROM transferencias_clubes"), "(1) " + Clube_Treinador + " -> " + clube + " (2)");
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Jogador Vendido ao ", 0), 0u);
}

TEST_F(Propostas_Teste, AnAcceptedOfferThatFailsMidWriteChangesNothingAndIsReported) {
    const std::string antes = teste::conteudo_base(*Base_Dados);
    for (double tipo : {0.5, 0.9}) {
        armar_falha("proposta.gravar", SQLITE_FULL);
        EXPECT_EQ(propor(0.4, tipo, 0, Resposta::Sim), Resultado_Proposta::Recusada);
        EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes) << tipo;
        ASSERT_EQ(porta.mensagens.size(), 2u);
        EXPECT_EQ(porta.mensagens[1].texto, "Não foi possível concluir o negócio.\nO disco está cheio.");
        EXPECT_EQ(porta.mensagens[1].icone, Icone::Critico);
    }
    EXPECT_EQ(Proposta_Feita, 0);
}

TEST_F(Propostas_Teste, OnlyFitOwnOutfieldPlayersAreOffered) {
    // All injured but the goalkeepers, one borrowed player and one of the club's own.
    sql("UPDATE jogadores SET joga = 3 WHERE equipa = ? AND pos <> 'gk'", {Clube_Treinador});
    const long long apto = jogador(Clube_Treinador, "av", 25, 50, 1000000, "Apto");
    sql("UPDATE jogadores SET clube_origem = '0' WHERE rowid = ?", {apto});
    sql("UPDATE jogadores SET clube_origem = ?, emprestado = 1 WHERE rowid = ?", {outro, jogador(Clube_Treinador, "av", 25, 50, 1, "Emprestado")});
    for (double escolha : {0.0, Maior_Sorteio}) {
        propor(0.4, 0.5, 0, Resposta::Nao, escolha);
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_NE(porta.mensagens[0].texto.find("pelo Jogador: Apto (av)"), std::string::npos);
    }
    sql("UPDATE jogadores SET joga = 3 WHERE rowid = ?", {apto});
    EXPECT_EQ(propor(0.4, 0.5, 0), Resultado_Proposta::Nenhuma);
    EXPECT_TRUE(porta.mensagens.empty());
}

// The club's kind: up to 0.33 by table band (top up to 0.2, middle up to
// 0.55), up to 0.66 by strength in the position (strong up to 0.4, weak
// above 0.6, none between), above that by shortage in it. In a fourth
// division of one club there is no middle, of five no bottom; a kind
// without a club draws again, and the draws after the held ones (0.5, 0.5)
// never find one.
TEST_F(Propostas_Teste, TheInterestedClubsKindFollowsItsDraws) {
    EXPECT_EQ(std::to_string(Divisao_Do_Jogador(40)) + std::to_string(Divisao_Do_Jogador(41)) +
                  std::to_string(Divisao_Do_Jogador(65)) + std::to_string(Divisao_Do_Jogador(66)), "3221");
    struct Caso { int clubes; std::vector<double> sorteios; bool acha; };
    for (const Caso& c : {Caso{1, {0.1, 0.2}, true}, Caso{1, {0.1, 0.2001}, false}, Caso{5, {0.1, 0.55}, true},
                          Caso{5, {0.1, 0.5501}, false}, Caso{5, {0.33, 0.5}, true}, Caso{5, {0.3301, 0.5}, false},
                          Caso{5, {0.5, 0.4}, true}, Caso{5, {0.5, 0.4001}, false}, Caso{5, {0.5, 0.6}, false},
                          Caso{5, {0.5, 0.6001}, true}, Caso{5, {0.66, 0.5}, false}, Caso{5, {0.6601}, true}}) {
        sql("UPDATE clubes SET div = 2 WHERE div = 4");
        sql("UPDATE clubes SET div = 4 WHERE clube IN (SELECT clube FROM clubes WHERE div = 2 ORDER BY clube LIMIT ?)", {c.clubes});
        Sorteios_Fixados s(teste::sorteios(c.sorteios, 0.5));
        const std::string clube = Escolher_Clube_Interessado(4, "df");
        EXPECT_EQ(!clube.empty(), c.acha) << c.clubes << " clubs, draws " << c.sorteios[0] << " " << c.sorteios.back();
        EXPECT_EQ(clube.empty() ? 4 : Divisao_Clube(clube), 4);
    }
    // Alone in its division, the manager's club leaves every kind empty.
    sql("UPDATE clubes SET div = 2 WHERE div = 4");
    sql("UPDATE clubes SET div = 4 WHERE clube = ?", {Clube_Treinador});
    const double todos[] = {0.1, 0.1, 0.1, 0.5, 0.1, 0.9, 0.5, 0.1, 0.5, 0.9, 0.9};
    Sorteios_Fixados s([&todos, i = 0]() mutable { return todos[i++ % std::size(todos)]; });
    EXPECT_EQ(Escolher_Clube_Interessado(4, "df"), "");
}

TEST_F(Propostas_Teste, AMoveKeepsTheContractTakesTheScorersRowAndIsLogged) {
    // A 29-year-old moves from a division-2 club to a division-1 club.
    auto rs = Base_Dados->OpenRecordset("SELECT rowid, nome, pos, forca, contrato FROM jogadores WHERE equipa = ?", {outro});
    const std::string nome = rs["nome"].texto(), pos = rs["pos"].texto();
    const std::string para = linha("SELECT clube FROM clubes WHERE div = 1 AND clube <> ?", {Clube_Treinador});
    for (int idade : {29, 31})
        sql("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit, golos) VALUES (?, ?, ?, ?, 1, 4)", {nome, outro, pos, idade});
    Mudar_Clube_Jogador(777000, pos, nome, 29, rs["forca"].int32(), outro, para, rs.rowid());
    EXPECT_EQ(coluna(rs.rowid(), "equipa, preco, contrato"), para + "|777000|" + rs["contrato"].texto());
    EXPECT_EQ(linha("SELECT tipo FROM transferencias_clubes"), "(2) " + outro + " -> " + para + " (1)");
    EXPECT_EQ(linha("SELECT group_concat(equipa, '|') FROM (SELECT equipa FROM Melhores_Marcadores_Sempre WHERE nome = ? ORDER BY idade)",
                    {nome}), para + "|" + outro) << "the row of his age goes with him";
    // Created players: contract by age.
    Mudar_Clube_Jogador(1000, "md", "Novo Velho", 30, 40, "-", para, 0);
    Mudar_Clube_Jogador(1000, "md", "Novo Jovem", 29, 40, "-", para, 0);
    EXPECT_EQ(linha("SELECT v.contrato, j.contrato FROM jogadores v, jogadores j WHERE v.nome = 'Novo Velho' AND j.nome = 'Novo Jovem'"), "1|4");
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE tipo = ?", {"(0) - -> " + para + " (1)"}), 2);
}

} // namespace
} // namespace gv
