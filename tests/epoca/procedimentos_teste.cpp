// The season-end procedures one by one on a league made to measure:
// histories, promotions and relegations, computer squads, the summary with
// its winners and prizes, and the job offers.

#include "apoio_epoca.h"
#include "platform/texto.h"
#include "season/convites.h"
#include "season/historico.h"
#include "season/planteis.h"
#include "season/resumo.h"
#include "season/subidas_descidas.h"

namespace gv {
namespace {

class Procedimentos_Epoca : public teste::Base_Epoca {
protected:
    std::string texto(const std::string& sql) { return Base_Dados->valor(sql).texto(); }
    int lugar_de(const std::string& clube) { return std::stoi(clube.substr(4)); }
};

TEST_F(Procedimentos_Epoca, HistoriesRankEveryClubFlagEachChampionAndAddUp) {
    liga(3, 2, 1);
    Base_Dados->Execute("UPDATE clubes SET v = 9, d = 1, g_mar = 45, g_suf = 30 WHERE clube = ?", {Clube_Treinador});
    Base_Dados->Execute("UPDATE principal SET d_in = 1000, d_out = 400");
    Vencedor_Taca = "Fora da Liga";
    Actualizar_Historico_Clubes();
    Actualizar_Historico_Treinador(true);
    EXPECT_EQ(estados, std::vector<std::string>{"Actualizar: Histórico Clubes"}) << "the job review's line is silent";
    EXPECT_EQ(contar("SELECT sum(taca) FROM historico_clube"), 0) << "a cup won outside the league";
    EXPECT_EQ(texto("SELECT group_concat(clube || ':' || pontos_total || div_1 || div_2 || div_3) FROM historico_clube "
                    "WHERE div_1 + div_2 + div_3 > 0"),
              "D1 C01:1100,Treinador FC:4010,D3 C01:7001");
    EXPECT_EQ(texto("SELECT clas || ' ' || div || ' ' || ano || ' ' || g_mar || ' ' || v_total FROM "
                    "historico_equipas_epoca WHERE clube = 'Treinador FC'"),
              "1 2 1999 45-30 9");
    EXPECT_EQ(texto("SELECT div || div_2 || Class || v || d || taca || ' ' || d_in || ' ' || d_out FROM historico_treinador"),
              "211910 1000 400");

    Vencedor_Taca = "D3 C03";
    Epoca_Actual = 2000;
    Lingua = "I";
    Actualizar_Historico_Clubes();
    Actualizar_Historico_Treinador(false);
    EXPECT_EQ(estados.back(), "Updating: Coach History");
    EXPECT_EQ(contar("SELECT count(*) FROM historico_clube"), 9);
    EXPECT_EQ(texto("SELECT pontos_total || ' ' || v_total || ' ' || div_2 FROM historico_clube WHERE clube = 'Treinador FC'"),
              "8 18 2");
    EXPECT_EQ(contar("SELECT taca FROM historico_clube WHERE clube = 'D3 C03'"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM historico_equipas_epoca"), 18);
}

TEST_F(Procedimentos_Epoca, ThreeUpThreeDownWithTiesByName) {
    liga(7);
    // Division 2: places 3 and 4 level; the name sorting first goes up.
    Base_Dados->Execute("UPDATE clubes SET pontos = 96, clube = 'D2 Z03' WHERE clube = 'D2 C03'");
    // Division 1: places 4 and 5 level; the name sorting last goes down.
    Base_Dados->Execute("UPDATE clubes SET pontos = 96, clube = 'D1 A05' WHERE clube = 'D1 C05'");
    Actualizar_Subidas_Descidas();
    EXPECT_EQ(estados, std::vector<std::string>{"Actualizar: Subidas/Descidas"});
    EXPECT_EQ(texto("SELECT group_concat(clube) FROM (SELECT clube FROM clubes WHERE div = 1 ORDER BY clube)"),
              "D1 A05,D1 C01,D1 C02,D1 C03,D2 C01,D2 C02,D2 C04");
    EXPECT_EQ(texto("SELECT group_concat(clube) FROM (SELECT clube FROM clubes WHERE div = 3 ORDER BY clube)"),
              "D2 C05,D2 C06,D2 C07,D3 C04,D3 C05,D3 C06,D3 C07");
    EXPECT_EQ(contar("SELECT count(*) FROM clubes WHERE div = 2"), 7);
}

TEST_F(Procedimentos_Epoca, ComputerSquadsAreBroughtToShapeInTheirNewDivision) {
    clube("Alfa", 1);
    clube("Beta", 3);
    clube(Clube_Treinador, 1);
    plantel("Alfa", 1, 8, 6, 3);
    plantel("Beta", 0, 6, 6, 5);
    plantel(Clube_Treinador, 1, 9, 2, 1);
    // Alfa's three weakest defenders are level: the first two rows go. One scored.
    Base_Dados->Execute("UPDATE jogadores SET forca = 10 WHERE equipa = 'Alfa' AND pos = 'df' AND forca <= 55");
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) "
                        "VALUES ('Alfa df 7', 'Alfa', 'df', 25, 3, 1)");
    Epoca_Actual = 2000;
    Actualizar_Plantel_Clubes();
    const char* forma = "SELECT group_concat(n) FROM (SELECT count(*) AS n FROM jogadores WHERE equipa = ? GROUP BY pos "
                        "ORDER BY CASE pos WHEN 'gk' THEN 1 WHEN 'df' THEN 2 WHEN 'md' THEN 3 ELSE 4 END)";
    for (const char* c : {"Alfa", "Beta"}) EXPECT_EQ(Base_Dados->valor(forma, {c}).texto(), "2,6,6,5") << c;
    EXPECT_EQ(Base_Dados->valor(forma, {Clube_Treinador}).texto(), "1,9,2,1") << "the manager's club is never touched";
    EXPECT_EQ(texto("SELECT group_concat(nome) FROM jogadores WHERE equipa = 'Alfa' AND forca = 10"), "Alfa df 9");
    EXPECT_EQ(texto("SELECT sit || '/' || ano FROM Melhores_Marcadores_Sempre"), "0/1999");
    // New players: a name of the pool, the division's strength, age and contract ranges.
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = 'Alfa' AND nome IN ('Ana', 'Bruno', 'Carlos') "
                     "AND forca BETWEEN 50 AND 89 AND idade BETWEEN 20 AND 31 AND contrato BETWEEN 1 AND 5"),
              3);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = 'Beta' AND pos = 'gk' AND forca BETWEEN 10 AND 49"), 2);
    EXPECT_EQ(estados, (std::vector<std::string>{"Actualizar: Alfa", "Actualizar: Beta"}));
}

TEST_F(Procedimentos_Epoca, SummaryWinnersAndPrizes) {
    liga(5, 3, 1);
    Base_Dados->Execute("UPDATE clubes SET pontos = 98, clube = 'D1 A03' WHERE clube = 'D1 C03'");
    jogador("D1 C02", "av", 60, 0, "Zeca");
    jogador("D1 A03", "av", 60, 0, "Abel");
    jogador("D1 C01", "md", 60, 0, "Nulo");
    jogador(Clube_Treinador, "av", 60, 0, "Nuno");
    jogador("D3 C02", "av", 60, 0, "Alberto");
    Base_Dados->Execute("UPDATE jogadores SET golos = 20 WHERE nome <> 'Nulo'");
    Vencedor_Taca = Clube_Treinador;
    const Resumo_Epoca r = Ler_Resumo_Epoca();
    std::string d1;
    for (const auto& l : r.primeiros[0]) d1 += l.clube + ",";
    for (const auto& l : r.ultimos[0]) d1 += std::to_string(l.lugar) + ",";
    EXPECT_EQ(d1, "D1 C01,D1 A03,D1 C02,3,4,5,") << "level clubs by name";
    EXPECT_EQ(r.marcadores[0].size(), 2u) << "a player without goals is no scorer";
    Registar_Vencedores(r);
    EXPECT_EQ(texto("SELECT group_concat(Epoca || ' ' || Tipo || ' ' || equipa || ' ' || nome || ' ' || num, '|') "
                    "FROM ultimos_venc"),
              "1999 D1 D1 C01  99|1999 T Treinador FC  0|1999 D2 D2 C01  99|1999 D3 Treinador FC  99|"
              "1999 M1 D1 A03 Abel 20|1999 M3 D3 C02 Alberto 20");

    // Cup and first place of division 3; Alberto's name beats Nuno's to the scorer's prize.
    Premios(r);
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[0].texto, "Treinador FC Vencedor da Taça - Prémio : 2.500.000");
    EXPECT_EQ(porta.mensagens[1].texto, "1º Lugar da 3ª Divisão - Prémio : 750.000");
    EXPECT_EQ(texto("SELECT d_total || ' ' || d_in FROM principal"), "3250000 3250000");

    // Fourth place, no cup: only the scorer's prize.
    porta.mensagens.clear();
    Base_Dados->Execute("UPDATE clubes SET pontos = 0 WHERE clube = ?", {Clube_Treinador});
    Base_Dados->Execute("UPDATE jogadores SET golos = 0 WHERE nome = 'Alberto'");
    Vencedor_Taca = "D1 C01";
    Lingua = "I";
    Premios(Ler_Resumo_Epoca());
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Best Scorer - 3ª Division - Bonus : 500.000");
}

TEST_F(Procedimentos_Epoca, OffersFollowTheDivisionAndPlace) {
    liga(18, 1, 3);
    Jogo_Real = 1;
    auto c = Equipas_Convite();
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(c[0].clube, Clube_Treinador);
    // Division and the band of places among the other clubs of each offer.
    const int faixas[4][3] = {{1, 1, 6}, {1, 6, 13}, {2, 1, 5}, {3, 1, 5}};
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(div_de(c[i].clube), faixas[i - 1][0]) << c[i].clube;
        EXPECT_GE(lugar_de(c[i].clube), faixas[i - 1][1]) << c[i].clube;
        EXPECT_LE(lugar_de(c[i].clube), faixas[i - 1][2]) << c[i].clube;
    }
    for (const auto& o : c) {
        EXPECT_TRUE(o.epocas >= 1 && o.epocas <= 3);
        EXPECT_EQ(o.linha.rfind("(" + std::to_string(o.epocas) + " Épocas) ", 0), 0u);
    }
    // "É" takes two bytes: the name starts at byte 12, the division at byte 37.
    EXPECT_EQ(c[0].linha.substr(12), "Treinador FC             1ª Divisão - 3º Lugar");

    Base_Dados->Execute("DELETE FROM clubes");
    liga(18, 3, 16);
    c = Equipas_Convite();
    ASSERT_EQ(c.size(), 1u) << "no renewal from the bottom with the real-game option";
    EXPECT_EQ(div_de(c[0].clube), 3);
    EXPECT_GE(lugar_de(c[0].clube), 13);

}

TEST_F(Procedimentos_Epoca, TakingAnotherClubsOffer) {
    liga(3, 1, 1);
    Base_Dados->Execute("UPDATE principal SET d_total = 900, d_in = 50, d_b_divida = 70, T_contrato = 0");
    const long long velho = jogador("D2 C02", "md", 60);
    Base_Dados->Execute("UPDATE jogadores SET idade = 36, contrato = 1 WHERE rowid = ?", {velho});
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) "
                        "SELECT nome, equipa, pos, idade, 5, 1 FROM jogadores WHERE rowid = ?",
                        {velho});
    Base_Dados->Execute("INSERT INTO transferencias (Epoca, Tipo, valor) VALUES (1999, 'C', 10)");
    Actualizar_Equipa_Treinador({"D2 C02", 2, ""});
    EXPECT_EQ(Clube_Treinador, "D2 C02");
    EXPECT_EQ(texto("SELECT equipa || ' ' || d_total || ' ' || d_in || ' ' || d_b_divida || ' ' || T_contrato || ' ' || "
                    "sit FROM principal"),
              "D2 C02 2000000 0 70 2 20") << "the bank loan stays";
    EXPECT_EQ(Base_Dados->valor("SELECT idade || ' ' || contrato FROM jogadores WHERE rowid = ?", {velho}).texto(), "33 2");
    EXPECT_EQ(contar("SELECT idade FROM Melhores_Marcadores_Sempre"), 33);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias"), 0);
}

} // namespace
} // namespace gv
