// The season change on a real league: all or nothing, the refusal without
// a job, the season's money, the players' year, a new club, the whole next
// season, and the all-time scorers' upkeep.

#include <algorithm>
#include <map>

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
        outro = texto("SELECT clube FROM clubes WHERE div = 2 ORDER BY clube LIMIT 1");
    }
    void TearDown() override {
        desarmar_falhas();
        Com_Mestra::TearDown();
    }
    long long jogador(const std::string& equipa, const std::string& nome, const std::string& pos, int forca, int idade, int contrato,
                      int joga = 0) {
        Base_Dados->Execute("INSERT INTO jogadores (nome, equipa, pos, forca, idade, contrato, joga) VALUES (?, ?, ?, ?, ?, ?, ?)",
                            {nome, equipa, pos, forca, idade, contrato, joga});
        return Base_Dados->ultimo_rowid();
    }
    std::string texto(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p).texto(); }
    std::string outro;   // a computer club of division 2
};

// Another club's offer makes it the manager's club before the squads are
// brought to shape: the old club gets a computer squad.
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
        SCOPED_TRACE(ponto);
        porta.mensagens.clear();
        armar_falha(ponto);
        EXPECT_EQ(Mudar_Epoca(&oferta), Resultado_Mudanca::Falhada);
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
        EXPECT_EQ(porta.mensagens[0].texto.rfind("Não foi possível mudar de época. Nada foi gravado", 0), 0u);
        EXPECT_EQ(teste::ler_bytes(Ficheiro_Jogo), bytes);
        EXPECT_EQ(std::tuple(Epoca_Actual, Jornada_Actual, Eliminatoria_Taca, Vencedor_Taca, Clube_Treinador),
                  std::tuple(1999, 1, 1, clube, clube));
    }
    porta.mensagens.clear();
    ASSERT_EQ(Mudar_Epoca(&oferta), Resultado_Mudanca::Feita);
    EXPECT_EQ(std::tuple(Epoca_Actual, Clube_Treinador), std::tuple(2000, outro));
    ASSERT_GE(porta.mensagens.size(), 3u);
    EXPECT_EQ(porta.mensagens[0].texto, "Impostos Relativos à Compra de Jogadores (5%): 0");
    EXPECT_EQ(porta.mensagens[2].texto, clube + " Vencedor da Taça - Prémio : 2.500.000");
    EXPECT_EQ(texto("SELECT equipa || ' ' || d_total || ' ' || T_contrato || ' ' || (SELECT clube FROM historico_treinador) FROM principal"),
              outro + " 2000000 2 " + clube);
    EXPECT_EQ(texto("SELECT count(*) || ' ' || sum(joga <> 0) FROM jogadores WHERE equipa = ?", {clube}), "19 0");
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {outro}), 11);
}

TEST_F(Mudanca_Epoca, TheSeasonsMoneyTaxesPurchasesAndTheStadium) {
    for (auto [tipo, valor, epoca] :
         {std::tuple{"C", 1'000'000, 1999}, std::tuple{"E+", 500'000, 1999}, std::tuple{"V", 300'000, 1999}, std::tuple{"C", 2'000'000, 1998}})
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
    const char* clube_de = "SELECT equipa || emprestado || clube_origem FROM jogadores WHERE rowid = ?";
    EXPECT_EQ(texto(clube_de, {comprado}), Clube_Treinador + "00");
    EXPECT_EQ(texto(clube_de, {emprestado}), Clube_Treinador + "00") << "a lent player comes back";
    // A starter gains 8 and is priced with factor 3 above 100.
    EXPECT_EQ(texto("SELECT forca || ' ' || idade || ' ' || joga || ' ' || preco || ' ' || ordenado FROM jogadores WHERE rowid = ?", {forte}),
              "103 26 0 2163000 21630");
    // Row identities of deleted players are given to new ones: look for the names.
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome IN ('Velho', ?)", {"O'Brien"}), 0);
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE rowid = ?", {quase}), 3);
    EXPECT_TRUE(std::any_of(porta.mensagens.begin(), porta.mensagens.end(), [](const Mensagem& m) {
        return m.texto == "O jogador O'Brien (26 Anos) Transferiu-se para outra Equipa (Fim de Contrato)" && m.icone == Icone::Exclamacao;
    }));
    EXPECT_EQ(texto("SELECT sit || '/' || ano FROM Melhores_Marcadores_Sempre WHERE nome = ?", {"O'Brien"}), "0/1999");
    EXPECT_EQ(texto("SELECT Epoca || ' ' || Jornada || ' ' || taca || ' ' || T_contrato || ' ' || sit FROM principal"), "2000 1 1 1 20");
}

// A season's end made to measure on the real league: points by row, goals
// and active scorer rows for one player in seven, the season's records.
TEST_F(Mudanca_Epoca, TheNextSeasonStartsWhole) {
    const auto tabela = [&] {   // division -> clubs in standings order
        std::map<int, std::vector<std::string>> t;
        for (auto rs = Base_Dados->OpenRecordset("SELECT clube, div FROM clubes ORDER BY div, pontos DESC, (g_mar-g_suf) DESC, clube"); !rs.Eof();
             rs.MoveNext())
            t[rs["div"].int32()].push_back(rs["clube"].texto());
        return t;
    };
    for (const char* sql : {"UPDATE clubes SET pontos = (rowid * 37) % 101 WHERE pontos = 0", "UPDATE jogadores SET golos = 1 + rowid % 5 WHERE rowid % 7 = 0",
                            "INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) SELECT nome, equipa, pos, idade, golos, 1 "
                            "FROM jogadores WHERE golos > 0",
                            "INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (1, 'x', 1, 1)",
                            "INSERT INTO assistencias (Jornada, Jogo) VALUES (1, 'x')", "INSERT INTO transferencias_clubes (jornada, nome) VALUES (1, 'x')"})
        Base_Dados->Execute(sql);
    Vencedor_Taca = outro;
    const auto antes = tabela();
    const int jogadores_treinador = contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
    EXPECT_EQ(std::tuple(Epoca_Actual, Jornada_Actual, Eliminatoria_Taca, Vencedor_Taca), std::tuple(2000, 1, 1, std::string()));
    // Three up and three down between neighbours, by the standings.
    const auto depois = tabela();
    for (int div = 1; div <= 3; ++div) {
        ASSERT_EQ(depois.at(div).size(), 18u) << div;
        for (int lugar = 0; lugar < 18; ++lugar) {
            const std::string& c = antes.at(div)[static_cast<std::size_t>(lugar)];
            EXPECT_EQ(contar("SELECT div FROM clubes WHERE clube = ?", {c}), lugar < 3 && div > 1 ? div - 1 : lugar >= 15 && div < 3 ? div + 1 : div) << c;
        }
    }
    // The new calendar follows the new divisions; the cup is drawn.
    EXPECT_EQ(contar("SELECT count(*) FROM jogos INNER JOIN clubes ON jogos.casa = clubes.clube AND jogos.div = clubes.div"), 918);
    EXPECT_EQ(contar("SELECT count(DISTINCT clube) FROM (SELECT casa AS clube FROM jogos_taca UNION ALL SELECT fora FROM jogos_taca) "
                     "WHERE clube IN (SELECT clube FROM clubes_taca)"), 64);
    // Histories and winners of 1999.
    EXPECT_EQ(texto("SELECT count(*) || ' ' || sum(pontos_total) || ' ' || (SELECT count(*) FROM historico_equipas_epoca WHERE ano = 1999) || ' ' || "
                    "(SELECT count(*) FROM historico_treinador WHERE ano = 1999) || ' ' || (SELECT count(*) FROM ultimos_venc WHERE Epoca = 1999) "
                    "FROM historico_clube"), "54 1485 54 1 7");
    EXPECT_EQ(texto("SELECT equipa FROM ultimos_venc WHERE Tipo = 'D1'"), antes.at(1)[0]);
    // Every computer club at 2-6-6-5 with contracts; no line-ups, loans or goals left over.
    EXPECT_EQ(contar("SELECT count(*) FROM (SELECT equipa, sum(pos = 'gk') AS gk, sum(pos = 'df') AS df, sum(pos = 'md') AS md, "
                     "sum(pos = 'av') AS av FROM jogadores WHERE equipa <> ? GROUP BY equipa) WHERE gk = 2 AND df = 6 AND md = 6 AND av = 5",
                     {Clube_Treinador}), 53);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa <> ? AND (joga <> 0 OR contrato <= 0)", {Clube_Treinador}), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE golos <> 0 OR emprestado <> 0 OR clube_origem <> '0'"), 0);
    EXPECT_LE(contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador}), jogadores_treinador);
    // Every price by the bands, new players' too.
    for (auto rs = Base_Dados->OpenRecordset("SELECT nome, idade, forca, preco FROM jogadores"); !rs.Eof(); rs.MoveNext())
        EXPECT_EQ(rs["preco"].inteiro(), preco_faixa(rs["idade"].int32(), rs["forca"].int32())) << rs["nome"].texto();
    // The season's records are cleared; every active scorer row still has its player, a year older.
    for (const char* t : {"Historico_Jornadas", "assistencias", "transferencias_clubes"}) EXPECT_EQ(contar(std::string("SELECT count(*) FROM ") + t), 0) << t;
    EXPECT_GT(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE sit = 1"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre m WHERE sit = 1 AND NOT EXISTS (SELECT 1 FROM jogadores j "
                     "WHERE j.nome = m.nome AND j.equipa = m.equipa AND j.pos = m.pos AND j.idade = m.idade)"), 0);
}

} // namespace
} // namespace gv
