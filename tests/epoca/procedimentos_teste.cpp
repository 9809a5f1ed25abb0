// The season-end procedures one by one on a league made to measure: new
// players and veterans, histories, promotions and relegations, computer
// squads, the summary with its winners and prizes, the job offers; the
// manager's job review during the season. Then the season change on a real
// league: all or nothing, the refusal without a job, the season's money, the
// players' year, a new club, the whole next season.

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "../mercado/apoio_mercado.h"
#include "apoio_epoca.h"
#include "data/jogadores_novos.h"
#include "season/convites.h"
#include "season/historico.h"
#include "season/mudanca_epoca.h"
#include "season/planteis.h"
#include "season/resumo.h"
#include "season/situacao.h"
#include "season/subidas_descidas.h"

namespace gv {
namespace {

using teste::acima;

TEST(Jogador_Novo, DrawsMeetTheirThresholds) {
    const std::tuple<int, int, double, long> precos[] = {{35, 25, 0.2, 157'500},  {36, 25, 0.2, 216'000}, {101, 30, 0.5, 1'515'000},
                                                         {35, 25, 0.1, 94'500},   {35, 25, teste::abaixo(0.2), 110'250}, {50, 42, 0.9, -40'000}};
    for (auto [forca, idade, r, preco] : precos) EXPECT_EQ(Preco_Com_Sorteio(forca, idade, r), preco) << forca << " " << idade << " " << r;
    for (auto [r, pos] : {std::pair{0.1, "gk"}, {acima(0.1), "df"}, {0.43, "df"}, {acima(0.43), "md"}, {0.75, "md"}, {acima(0.75), "av"}})
        EXPECT_EQ(Posicao_Do_Sorteio(r), pos) << r;
    for (auto [idade, r] : {std::pair{34, 0.75}, {35, 0.6}, {36, 0.5}, {37, 0.3}})
        EXPECT_TRUE(!Reforma_Com_Sorteio(idade, r) && Reforma_Com_Sorteio(idade, acima(r))) << idade;
    EXPECT_TRUE(Reforma_Com_Sorteio(38, 0.0) && Reforma_Com_Sorteio(55, 0.0));
    EXPECT_FALSE(Reforma_Com_Sorteio(56, teste::MAIOR_SORTEIO) || Reforma_Com_Sorteio(33, teste::MAIOR_SORTEIO));
}

class Procedimentos_Epoca : public teste::Base_Epoca {};

TEST_F(Procedimentos_Epoca, NamesComeFromThePoolAndAnEmptyPoolIsAnError) {
    std::set<std::string> vistos;
    for (int i = 0; i < 300; ++i) vistos.insert(Nome_Aleatorio());
    EXPECT_EQ(vistos, (std::set<std::string>{"Ana", "Bruno", "Carlos"}));
    Base_Dados->Execute("DELETE FROM jogadores_all");
    EXPECT_THROW(Nome_Aleatorio(), db::Erro_BD);
}

// Seed 99 draws 0.672, 0.723, 0.488, then any: the 35- and the 38-year-old
// leave. Another club's veterans stay.
TEST_F(Procedimentos_Epoca, VeteransDrawOnceEachInRowOrderAndLeaveWithTheirMessage) {
    Epoca_Actual = 2000;
    db::Transaccao t(*Base_Dados);
    for (int idade : {33, 34, 35, 36, 38})
        Base_Dados->Execute("UPDATE jogadores SET idade = ? WHERE rowid = ?",
                            {idade, jogador(Clube_Treinador, "md", 60, 0, "O'Neil " + std::to_string(idade))});
    Base_Dados->Execute("UPDATE jogadores SET idade = 40 WHERE rowid = ?", {jogador("Outro FC", "md", 60)});
    // The 38-year-old's scorer rows: his own, a namesake of another age, and
    // an old row of his closed in 1990.
    for (auto [idade, sit, ano] : {std::tuple{38, 1, 0}, std::tuple{37, 1, 0}, std::tuple{38, 0, 1990}})
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit, ano) "
                            "VALUES ('O''Neil 38', ?, 'md', ?, 9, ?, ?)", {Clube_Treinador, idade, sit, ano});
    t.commit();
    semear_aleatorio(99);
    Reformar_Jogadores();
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[0].texto + "|" + porta.mensagens[1].texto,
              "O jogador O'Neil 35 deixa de Jogar Futebol (35 Anos)|O jogador O'Neil 38 deixa de Jogar Futebol (38 Anos)");
    EXPECT_EQ(texto("SELECT group_concat(nome) FROM jogadores"), "O'Neil 33,O'Neil 34,O'Neil 36,Outro FC md 1");
    EXPECT_EQ(texto("SELECT group_concat(sit || '/' || ano) FROM Melhores_Marcadores_Sempre"), "0/1999,1/0,0/1990");
    Lingua = "I";
    porta.mensagens.clear();
    Base_Dados->Execute("UPDATE jogadores SET idade = 40 WHERE nome = ?", {"O'Neil 33"});
    Reformar_Jogadores();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "The Player O'Neil 33 Leave the football (40 years)");
}

TEST_F(Procedimentos_Epoca, HistoriesRankEveryClubFlagEachChampionAndAddUp) {
    liga(3, 2, 1);
    Base_Dados->Execute("UPDATE clubes SET v = 9, d = 1, g_mar = 45, g_suf = 30 WHERE clube = ?", {Clube_Treinador});
    Base_Dados->Execute("UPDATE principal SET d_in = 1000, d_out = 400");
    Vencedor_Taca = "Fora da Liga";
    Actualizar_Historico_Clubes();
    Actualizar_Historico_Treinador(true);
    EXPECT_EQ(estados, std::vector<std::string>{"Actualizar: Histórico Clubes"}) << "the job review's line is silent";
    // A cup won outside the league is no club's.
    EXPECT_EQ(texto("SELECT sum(taca) || ' ' || group_concat(CASE WHEN div_1 + div_2 + div_3 > 0 THEN clube || ':' || pontos_total || div_1 || div_2 "
                    "|| div_3 END) FROM historico_clube"), "0 D1 C01:1100,Treinador FC:4010,D3 C01:7001");
    EXPECT_EQ(texto("SELECT clas || ' ' || div || ' ' || ano || ' ' || g_mar || ' ' || v_total FROM historico_equipas_epoca WHERE clube = 'Treinador FC'"),
              "1 2 1999 45-30 9");
    EXPECT_EQ(texto("SELECT div || div_2 || Class || v || d || taca || ' ' || d_in || ' ' || d_out FROM historico_treinador"), "211910 1000 400");

    Vencedor_Taca = "D3 C03";
    Epoca_Actual = 2000;
    Lingua = "I";
    Actualizar_Historico_Clubes();
    Actualizar_Historico_Treinador(false);
    EXPECT_EQ(estados.back(), "Updating: Coach History");
    EXPECT_EQ(texto("SELECT count(*) || ' ' || (SELECT count(*) FROM historico_equipas_epoca) || ' ' || sum(taca * (clube = 'D3 C03')) FROM historico_clube"),
              "9 18 1");
    EXPECT_EQ(texto("SELECT pontos_total || ' ' || v_total || ' ' || div_2 FROM historico_clube WHERE clube = 'Treinador FC'"), "8 18 2");
}

TEST_F(Procedimentos_Epoca, ThreeUpThreeDownWithTiesByName) {
    liga(7);
    // Division 2: places 3 and 4 level, the name sorting first goes up; division 1: places 4 and 5 level, the name sorting last goes down.
    Base_Dados->Execute("UPDATE clubes SET pontos = 96, clube = 'D2 Z03' WHERE clube = 'D2 C03'");
    Base_Dados->Execute("UPDATE clubes SET pontos = 96, clube = 'D1 A05' WHERE clube = 'D1 C05'");
    Actualizar_Subidas_Descidas();
    EXPECT_EQ(estados, std::vector<std::string>{"Actualizar: Subidas/Descidas"});
    const char* divisao = "SELECT group_concat(clube) FROM (SELECT clube FROM clubes WHERE div = ? ORDER BY clube)";
    EXPECT_EQ(texto(divisao, {1}) + "|" + texto(divisao, {3}),
              "D1 A05,D1 C01,D1 C02,D1 C03,D2 C01,D2 C02,D2 C04|D2 C05,D2 C06,D2 C07,D3 C04,D3 C05,D3 C06,D3 C07");
}

TEST_F(Procedimentos_Epoca, ComputerSquadsAreBroughtToShapeInTheirNewDivision) {
    db::Transaccao t(*Base_Dados);
    for (auto [c, div] : {std::pair{"Alfa", 1}, {"Beta", 3}, {"Treinador FC", 1}}) clube(c, div);
    plantel("Alfa", 1, 8, 6, 3);
    plantel("Beta", 0, 6, 6, 5);
    plantel(Clube_Treinador, 1, 9, 2, 1);
    // Alfa's three weakest defenders are level: the first two rows go. One scored.
    Base_Dados->Execute("UPDATE jogadores SET forca = 10 WHERE equipa = 'Alfa' AND pos = 'df' AND forca <= 55");
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) VALUES ('Alfa df 7', 'Alfa', 'df', 25, 3, 1)");
    t.commit();
    Epoca_Actual = 2000;
    Actualizar_Plantel_Clubes();
    const char* forma = "SELECT group_concat(n) FROM (SELECT count(*) AS n FROM jogadores WHERE equipa = ? GROUP BY pos "
                        "ORDER BY CASE pos WHEN 'gk' THEN 1 WHEN 'df' THEN 2 WHEN 'md' THEN 3 ELSE 4 END)";
    for (const char* c : {"Alfa", "Beta"}) EXPECT_EQ(texto(forma, {c}), "2,6,6,5") << c;
    EXPECT_EQ(texto(forma, {Clube_Treinador}), "1,9,2,1") << "the manager's club is never touched";
    EXPECT_EQ(texto("SELECT group_concat(nome) || ' ' || (SELECT sit || '/' || ano FROM Melhores_Marcadores_Sempre) FROM jogadores "
                    "WHERE equipa = 'Alfa' AND forca = 10"), "Alfa df 9 0/1999");
    // New players: a name of the pool, the division's strength, age and contract ranges.
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = 'Alfa' AND nome IN ('Ana', 'Bruno', 'Carlos') "
                     "AND forca BETWEEN 50 AND 89 AND idade BETWEEN 20 AND 31 AND contrato BETWEEN 1 AND 5"), 3);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = 'Beta' AND pos = 'gk' AND forca BETWEEN 10 AND 49"), 2);
    EXPECT_EQ(estados, (std::vector<std::string>{"Actualizar: Alfa", "Actualizar: Beta"}));
}

TEST_F(Procedimentos_Epoca, SummaryAndWinners) {
    liga(5, 3, 1);
    Base_Dados->Execute("UPDATE clubes SET pontos = 98, clube = 'D1 A03' WHERE clube = 'D1 C03'");
    for (auto [equipa, pos, nome] : {std::tuple{"D1 C02", "av", "Zeca"}, {"D1 A03", "av", "Abel"}, {"D1 C01", "md", "Nulo"},
                                     {"Treinador FC", "av", "Nuno"}, {"D3 C02", "av", "Alberto"}})
        jogador(equipa, pos, 60, 0, nome);
    Base_Dados->Execute("UPDATE jogadores SET golos = 20 WHERE nome <> 'Nulo'");
    Vencedor_Taca = Clube_Treinador;
    const Resumo_Epoca r = Ler_Resumo_Epoca();
    std::string d1;
    for (const auto& l : r.primeiros[0]) d1 += l.clube + ",";
    for (const auto& l : r.ultimos[0]) d1 += std::to_string(l.lugar) + ",";
    EXPECT_EQ(d1, "D1 C01,D1 A03,D1 C02,3,4,5,") << "level clubs by name";
    EXPECT_EQ(r.marcadores[0].size(), 2u) << "a player without goals is no scorer";
    Registar_Vencedores(r);
    EXPECT_EQ(texto("SELECT group_concat(Epoca || ' ' || Tipo || ' ' || equipa || ' ' || nome || ' ' || num, '|') FROM ultimos_venc"),
              "1999 D1 D1 C01  99|1999 T Treinador FC  0|1999 D2 D2 C01  99|1999 D3 Treinador FC  99|"
              "1999 M1 D1 A03 Abel 20|1999 M3 D3 C02 Alberto 20");
}

// Every prize the manager's club can earn, alone.
TEST_F(Procedimentos_Epoca, EveryPrizeIsPaidInAndAnnounced) {
    // Place 1 to 3 in its division (0: the cup, 4: the division's top scorer), amount, texts.
    const std::tuple<int, int, long, const char*, const char*> premios[] = {
        {0, 0, 2'500'000, "Treinador FC Vencedor da Taça - Prémio : 2.500.000", "Treinador FC Cup Winner - Bonus : 2.500.000"},
        {4, 1, 500'000, "Melhor Marcador da 1ª Divisão - Prémio : 500.000", "Best Scorer - 1ª Division - Bonus : 500.000"},
        {4, 2, 500'000, "Melhor Marcador da 2ª Divisão - Prémio : 500.000", "Best Scorer - 2ª Division - Bonus : 500.000"},
        {4, 3, 500'000, "Melhor Marcador da 3ª Divisão - Prémio : 500.000", "Best Scorer - 3ª Division - Bonus : 500.000"},
        {1, 1, 3'500'000, "Treinador FC 1º Lugar - CAMPEÃO (1ª Div.) Prémio : 3.500.000",
         "Treinador FC 1st Place - CHAMPION (1st Div.) Bonus : 3.500.000"},
        {1, 2, 1'500'000, "1º Lugar da 2ª Divisão - Prémio : 1.500.000", "1st Place - 2st Division - Bonus : 1.500.000"},
        {1, 3, 750'000, "1º Lugar da 3ª Divisão - Prémio : 750.000", "1st Place - 3st Division - Bonus : 750.000"},
        {2, 1, 1'500'000, "2º Lugar da 1ª Divisão - Prémio : 1.500.000", "2nd Place - 1nd Division - Bonus : 1.500.000"},
        {2, 2, 1'000'000, "2º Lugar da 2ª Divisão - Prémio : 1.000.000", "2nd Place - 2nd Division - Bonus : 1.000.000"},
        {2, 3, 500'000, "2º Lugar da 3ª Divisão - Prémio : 500.000", "2nd Place - 3nd Division - Bonus : 500.000"},
        {3, 1, 750'000, "3º Lugar da 1ª Divisão - Prémio : 750.000", "3rd Place - 1rd Division - Bonus : 750.000"},
        {3, 2, 500'000, "3º Lugar da 2ª Divisão - Prémio : 500.000", "3rd Place - 2rd Division - Bonus : 500.000"},
        {3, 3, 300'000, "3º Lugar da 3ª Divisão - Prémio : 300.000", "3rd Place - 3rd Division - Bonus : 300.000"}};
    long soma = 0;
    for (auto [lugar, div, valor, pt, en] : premios)
        for (const char* lingua : {"P", "I"}) {
            SCOPED_TRACE(pt);
            Lingua = lingua;
            Resumo_Epoca r;
            for (auto& primeiros : r.primeiros) primeiros.resize(3);
            if (lugar == 0) r.vencedor_taca = Clube_Treinador;
            if (lugar == 4) r.marcadores[div - 1].push_back({1, "Nuno", Clube_Treinador, 20});
            if (lugar >= 1 && lugar <= 3) r.primeiros[div - 1][lugar - 1].clube = Clube_Treinador;
            porta.mensagens.clear();
            Premios(r);
            soma += valor;
            ASSERT_EQ(porta.mensagens.size(), 1u);
            EXPECT_EQ(porta.mensagens[0].texto, Lingua == "P" ? pt : en);
            EXPECT_EQ(porta.mensagens[0].icone, Icone::Informacao);
            EXPECT_EQ(texto("SELECT d_total || ' ' || d_in FROM principal"), std::to_string(soma) + " " + std::to_string(soma));
        }
}

// By the division and band of places (1-4, 5-14, 15-18) of the manager's
// club: a renewal (R), then clubs from the top (T: 1-5), middle (M: 5-12) or
// bottom (F: 13-17) places among the other clubs of a division.
TEST_F(Procedimentos_Epoca, OffersFollowTheDivisionAndPlace) {
    const std::map<char, std::pair<int, int>> bandas{{'T', {1, 5}}, {'M', {5, 12}}, {'F', {13, 17}}};
    const std::tuple<int, int, int, const char*> casos[] = {
        {1, 3, 1, "R T1 M1 T2 T3"}, {1, 5, 1, "R M1 T2 T3"}, {1, 16, 1, "T2 M2 T3"},  {2, 4, 1, "R F1 M2 T3"},
        {2, 14, 1, "R M2 F2 T3"},   {2, 15, 1, "M3 F3"},      {3, 1, 1, "R F2 M3"},   {3, 10, 1, "R M3 F3"},
        {3, 18, 1, "F3"},           {3, 18, 0, "R F3"}};
    for (auto [div, lugar, real, esperado] : casos) {
        SCOPED_TRACE(std::to_string(div) + "/" + std::to_string(lugar) + " " + esperado);
        Base_Dados->Execute("DELETE FROM clubes");
        liga(18, div, lugar);
        Jogo_Real = real;
        for (int vez = 0; vez < 8; ++vez) {
            const auto c = Equipas_Convite();
            std::istringstream e(esperado);
            std::size_t i = 0;
            for (std::string oferta; e >> oferta; ++i) {
                ASSERT_LT(i, c.size());
                const auto& o = c[i];
                EXPECT_TRUE(o.epocas >= 1 && o.epocas <= 3 && o.linha.rfind("(" + std::to_string(o.epocas) + " Épocas) " + o.clube, 0) == 0) << o.linha;
                if (oferta == "R" || o.clube == Clube_Treinador) {
                    EXPECT_EQ(oferta + " " + o.clube, "R " + Clube_Treinador);
                    continue;
                }
                const int n = std::stoi(o.clube.substr(4)), entre_outros = n - (div_de(o.clube) == div && n > lugar);
                const auto [de, ate] = bandas.at(oferta[0]);
                EXPECT_TRUE(div_de(o.clube) == oferta[1] - '0' && entre_outros >= de && entre_outros <= ate) << o.clube;
            }
            EXPECT_EQ(c.size(), i);
            // "É" takes two bytes: the name starts at byte 12, the division at byte 37.
            EXPECT_TRUE(div != 1 || lugar != 3 || c[0].linha.substr(12) == "Treinador FC             1ª Divisão - 3º Lugar")
                << c[0].linha;
        }
    }
}

TEST_F(Procedimentos_Epoca, TakingAnotherClubsOffer) {
    liga(3, 1, 1);
    Base_Dados->Execute("UPDATE principal SET d_total = 900, d_in = 50, d_b_divida = 70, T_contrato = 0");
    const long long velho = jogador("D2 C02", "md", 60);
    Base_Dados->Execute("UPDATE jogadores SET idade = 36, contrato = 1 WHERE rowid = ?", {velho});
    Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) "
                        "SELECT nome, equipa, pos, idade, 5, 1 FROM jogadores WHERE rowid = ?", {velho});
    Base_Dados->Execute("INSERT INTO transferencias (Epoca, Tipo, valor) VALUES (1999, 'C', 10)");
    Actualizar_Equipa_Treinador({"D2 C02", 2, ""});
    EXPECT_EQ(Clube_Treinador, "D2 C02");
    EXPECT_EQ(texto("SELECT equipa || ' ' || d_total || ' ' || d_in || ' ' || d_b_divida || ' ' || T_contrato || ' ' || sit FROM principal"),
              "D2 C02 2000000 0 70 2 20") << "the bank loan stays";
    EXPECT_EQ(texto("SELECT idade || ' ' || contrato || ' ' || (SELECT idade FROM Melhores_Marcadores_Sempre) || ' ' || "
                    "(SELECT count(*) FROM transferencias) FROM jogadores WHERE rowid = ?", {velho}), "33 2 33 0");
}

TEST_F(Procedimentos_Epoca, TheBest101RetiredScorersStayAndActiveRowsWithoutTheirPlayerAreClosed) {
    const auto marcador = [&](const std::string& nome, int golos, int sit, int ano = 0, const std::string& equipa = "Alfa") {
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit, ano) VALUES (?, ?, 'av', 25, ?, ?, ?)",
                            {nome, equipa, golos, sit, ano});
    };
    Epoca_Actual = 2000;
    {
        db::Transaccao t(*Base_Dados);
        for (int g = 1; g <= 110; ++g) marcador("R" + std::to_string(g), g, 0, 1990);
        t.commit();
    }
    Actualizar_DB_Melhores_Marcadores();
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre"), 110);
    marcador("R111", 111, 0, 1990);
    jogador("Alfa", "av", 60, 0, "Joga");   // aged 25
    marcador("Joga", 1, 1);
    marcador("Saiu", 1, 1);
    marcador("Joga", 1, 1, 0, "Beta");      // a namesake at another club
    Actualizar_DB_Melhores_Marcadores();
    EXPECT_EQ(texto("SELECT count(*) || ' ' || min(golos) FROM Melhores_Marcadores_Sempre WHERE ano = 1990"), "101 11");
    EXPECT_EQ(texto("SELECT group_concat(nome || equipa || sit || ano) FROM Melhores_Marcadores_Sempre WHERE ano <> 1990"),
              "JogaAlfa10,SaiuAlfa01999,JogaBeta01999");
}

// ---------------------------------------------------------------- the job review of the real-game option

TEST(Veredicto, RunsAndPlacesDecide) {
    using V = Veredicto;
    EXPECT_EQ(Veredicto_Situacao(4, 18, 0, 9, 0, 20), V::Nada) << "not before the fifth matchday";
    EXPECT_EQ(Veredicto_Situacao(5, 1, 0, 6, 0, 6), V::Despedido) << "six defeats, even when leading";
    EXPECT_EQ(Veredicto_Situacao(5, 16, 0, 0, 0, 12), V::Despedido);
    EXPECT_EQ(Veredicto_Situacao(5, 15, 0, 0, 0, 12), V::Nada);
    for (int jornada : {24, 25, 30, 31})
        EXPECT_EQ(Veredicto_Situacao(jornada, 17, 0, 0, 0, 3), jornada == 24 || jornada == 31 ? V::Nada : V::Despedido) << jornada;
    EXPECT_EQ(Veredicto_Situacao(10, 18, 6, 0, 6, 0), V::Convidado) << "six wins from any place";
    EXPECT_EQ(Veredicto_Situacao(10, 5, 0, 0, 15, 0), V::Convidado);
    EXPECT_EQ(Veredicto_Situacao(10, 6, 0, 0, 15, 0), V::Nada);
    EXPECT_EQ(Veredicto_Situacao(10, 5, 0, 6, 15, 0), V::Convidado) << "the later rule overrides";
}

class Situacao : public teste::Base_Epoca {
protected:
    // At matchday 10 of the real game, a league of squads to take over.
    void liga_com_planteis(int div, int lugar) {
        Jornada_Actual = 10;
        Jogo_Real = 1;
        db::Transaccao t(*Base_Dados);
        for (const char* tabela : {"clubes", "jogadores", "historico_treinador", "transferencias", "assistencias"})
            Base_Dados->Execute(std::string("DELETE FROM ") + tabela);
        Clube_Treinador = "Treinador FC";
        liga(18, div, lugar);
        for (auto rs = Base_Dados->OpenRecordset("SELECT clube FROM clubes"); !rs.Eof(); rs.MoveNext()) plantel(rs["clube"].texto(), 2, 5, 4, 4);
        Base_Dados->Execute("UPDATE principal SET equipa = ?, v = 0, d = 0, pc = 0, d_total = 9000000, d_in = 5, "
                            "d_b_divida = 100, d_b_mensal = 10, T_contrato = 1, cont = 2, sit = 31", {Clube_Treinador});
        Base_Dados->Execute("INSERT INTO transferencias (Epoca, Tipo, valor) VALUES (1999, 'C', 1)");
        Base_Dados->Execute("INSERT INTO assistencias (Jornada, Jogo) VALUES (1, 'x')");
        t.commit();
    }
};

// Sacked (six defeats) or invited (six wins) from each division: the new
// club's band of places (top 1-5, middle 5-12, bottom 13-17 of the others),
// its money as the whole balance, and a contract of 2 or 3 seasons.
TEST_F(Situacao, EveryMoveGoesToItsBandWithItsMoneyAndContract) {
    liga_com_planteis(3, 18);
    Base_Dados->Execute("UPDATE principal SET d = 7");
    const auto bytes = teste::ler_bytes(caminho("jogo.gv"));
    armar_falha("situacao.mudar");
    Ver_Situacao();
    EXPECT_EQ(Clube_Treinador, "Treinador FC");
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), bytes);
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[1].icone, Icone::Critico);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Não foi possível mudar de clube. Nada foi alterado.", 0), 0u);
    struct Caso {
        bool despedido;
        int div, div_nova, de, ate;
        const char* dinheiro;
    };
    const Caso casos[] = {{true, 1, 2, 5, 12, "2000000"}, {true, 2, 3, 1, 5, "1000000"},   {true, 3, 3, 13, 17, "1000000"},
                          {false, 1, 1, 1, 5, "4000000"}, {false, 2, 1, 13, 17, "3000000"}, {false, 3, 2, 13, 17, "2000000"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.despedido ? "sacked" : "invited") + " from division " + std::to_string(c.div));
        liga_com_planteis(c.div, 18);
        Base_Dados->Execute(c.despedido ? "UPDATE principal SET d = 6, pc = 6" : "UPDATE principal SET v = 6");
        Lingua = c.div == 3 ? "I" : "P";
        porta.mensagens.clear();
        if (!c.despedido) {
            porta.responder(Resposta::Nao);
            Ver_Situacao();
            ASSERT_EQ(porta.mensagens.size(), 1u);
            EXPECT_TRUE(porta.mensagens[0].botoes == Botoes::SimNao && porta.mensagens[0].botao_defeito == 1) << "No is the default";
            EXPECT_EQ(texto("SELECT equipa || ' ' || sit || ' ' || d_total || ' ' || v FROM principal"), "Treinador FC 20 9000000 6");
            porta.responder(Resposta::Sim);
        }
        Ver_Situacao();
        ASSERT_EQ(div_de(Clube_Treinador), c.div_nova);
        const int lugar = std::stoi(Clube_Treinador.substr(4));
        EXPECT_TRUE(lugar >= c.de && lugar <= c.ate) << Clube_Treinador;
        const std::string onde = Clube_Treinador + " (" + std::to_string(c.div_nova) + "ª Div. - " + std::to_string(lugar);
        const std::string texto_esperado =
            Lingua == "I" ? (c.despedido ? "You have been fired from the team Treinador FC. Your new club is " + onde + "º Pos.) for 2 years."
                                         : "You have been invited to coach the team " + onde + "º Pos.) for 3 years. Do you agree?")
                          : (c.despedido ? "Foi Despedido da Equipa Treinador FC. Foi contratado pela equipa " + onde + "º Lugar) por 2 Épocas."
                                         : "Foi convidado para treinar a equipa " + onde + "º Lugar) por 3 Épocas. Aceita?");
        EXPECT_EQ(porta.mensagens.back().texto, texto_esperado);
        EXPECT_EQ(texto("SELECT equipa || ' ' || d_total || ' ' || (d_in + d_b_divida + d_b_mensal + v + d + pc) || ' ' || T_contrato || ' ' || "
                        "sit || ' ' || cont FROM principal"),
                  Clube_Treinador + " " + c.dinheiro + " 0 " + (c.despedido ? "2" : "3") + " 20 2");
        EXPECT_EQ(texto("SELECT ((SELECT count(*) FROM transferencias) + (SELECT count(*) FROM assistencias)) || ' ' || clube || Class || ' ' || "
                        "(SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1) FROM historico_treinador", {Clube_Treinador}),
                  "0 Treinador FC18 11") << "the season's records cleared, the stint recorded, a line-up picked";
    }
    EXPECT_TRUE(estados.empty()) << "no status text during the season";
}

// ---------------------------------------------------------------- the season change on a real league

class Mudanca_Epoca : public teste::Com_Jogo {
protected:
    void SetUp() override {
        Com_Jogo::SetUp();
        // The manager's club last of its division: no prize muddles the money.
        sql("UPDATE clubes SET pontos = -1 WHERE clube = ?", {Clube_Treinador});
    }
    long long jogador(const std::string& equipa, const std::string& nome, const std::string& pos, int forca, int idade,
                      int contrato, int joga = 0) {
        sql("INSERT INTO jogadores (nome, equipa, pos, forca, idade, contrato, joga) VALUES (?, ?, ?, ?, ?, ?, ?)",
            {nome, equipa, pos, forca, idade, contrato, joga});
        return Base_Dados->ultimo_rowid();
    }
};

// Another club's offer makes it the manager's club before the squads are
// brought to shape: the old club gets a computer squad.
TEST_F(Mudanca_Epoca, RefusedOrFailedItLeavesTheFileAndTheSeasonAsTheyWere) {
    const std::string clube = Clube_Treinador;
    sql("UPDATE principal SET T_contrato = 1");
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
    EXPECT_EQ(linha("SELECT equipa || ' ' || d_total || ' ' || T_contrato || ' ' || (SELECT clube FROM historico_treinador) FROM principal"),
              outro + " 2000000 2 " + clube);
    EXPECT_EQ(linha("SELECT count(*) || ' ' || sum(joga <> 0) FROM jogadores WHERE equipa = ?", {clube}), "19 0");
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {outro}), 11);
}

TEST_F(Mudanca_Epoca, TheSeasonsMoneyTaxesPurchasesAndTheStadium) {
    for (auto [tipo, valor, epoca] :
         {std::tuple{"C", 1'000'000, 1999}, std::tuple{"E+", 500'000, 1999}, std::tuple{"V", 300'000, 1999}, std::tuple{"C", 2'000'000, 1998}})
        sql("INSERT INTO transferencias (Epoca, Tipo, valor) VALUES (?, ?, ?)", {epoca, tipo, valor});
    sql("UPDATE clubes SET cap_estadio = 25000 WHERE clube = ?", {Clube_Treinador});
    sql("UPDATE principal SET d_in = 100, d_out = 200, d_emp_in = 5, d_estadio = 7");
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
    sql("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {Clube_Treinador, emprestado});
    jogador(Clube_Treinador, "O'Brien", "gk", 40, 25, 1);
    sql("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit) VALUES (?, ?, 'gk', 25, 2, 1)",
        {"O'Brien", Clube_Treinador});
    // Borrowed from another club and bought on the season's last desk.
    const long long comprado = jogador(Clube_Treinador, "Comprado", "av", 60, 24, 1);
    sql("UPDATE jogadores SET emprestado = 1, clube_origem = ? WHERE rowid = ?", {outro, comprado});
    ASSERT_EQ(Comprar_Jogador_Emprestado(comprado), Resultado_Negocio::Feito);

    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
    const char* clube_de = "SELECT equipa || emprestado || clube_origem FROM jogadores WHERE rowid = ?";
    EXPECT_EQ(linha(clube_de, {comprado}), Clube_Treinador + "00");
    EXPECT_EQ(linha(clube_de, {emprestado}), Clube_Treinador + "00") << "a lent player comes back";
    // A starter gains 8 and is priced with factor 3 above 100.
    EXPECT_EQ(linha("SELECT forca || ' ' || idade || ' ' || joga || ' ' || preco || ' ' || ordenado FROM jogadores WHERE rowid = ?", {forte}),
              "103 26 0 2163000 21630");
    // Row identities of deleted players are given to new ones: look for the names.
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome IN ('Velho', ?)", {"O'Brien"}), 0);
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE rowid = ?", {quase}), 3);
    EXPECT_TRUE(std::any_of(porta.mensagens.begin(), porta.mensagens.end(), [](const Mensagem& m) {
        return m.texto == "O jogador O'Brien (26 Anos) Transferiu-se para outra Equipa (Fim de Contrato)" && m.icone == Icone::Exclamacao;
    }));
    EXPECT_EQ(linha("SELECT sit || '/' || ano FROM Melhores_Marcadores_Sempre WHERE nome = ?", {"O'Brien"}), "0/1999");
    EXPECT_EQ(linha("SELECT Epoca || ' ' || Jornada || ' ' || taca || ' ' || T_contrato || ' ' || sit FROM principal"), "2000 1 1 1 20");
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
    EXPECT_EQ(linha("SELECT count(*) || ' ' || sum(pontos_total) || ' ' || (SELECT count(*) FROM historico_equipas_epoca WHERE ano = 1999) || ' ' || "
                    "(SELECT count(*) FROM historico_treinador WHERE ano = 1999) || ' ' || (SELECT count(*) FROM ultimos_venc WHERE Epoca = 1999) "
                    "FROM historico_clube"), "54 1485 54 1 7");
    EXPECT_EQ(linha("SELECT equipa FROM ultimos_venc WHERE Tipo = 'D1'"), antes.at(1)[0]);
    // Every computer club at 2-6-6-5 with contracts; no line-ups, loans or goals left over.
    EXPECT_EQ(contar("SELECT count(*) FROM (SELECT equipa, sum(pos = 'gk') AS gk, sum(pos = 'df') AS df, sum(pos = 'md') AS md, "
                     "sum(pos = 'av') AS av FROM jogadores WHERE equipa <> ? GROUP BY equipa) WHERE gk = 2 AND df = 6 AND md = 6 AND av = 5",
                     {Clube_Treinador}), 53);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa <> ? AND (joga <> 0 OR contrato <= 0)", {Clube_Treinador}), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE golos <> 0 OR emprestado <> 0 OR clube_origem <> '0'"), 0);
    EXPECT_LE(contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador}), jogadores_treinador);
    // Every price by the bands, new players' too: one price for each age and strength.
    EXPECT_EQ(contar("SELECT count(*) FROM (SELECT 1 FROM jogadores GROUP BY idade, forca "
                     "HAVING count(DISTINCT preco) > 1)"), 0);
    // The season's records are cleared; every active scorer row still has its player, a year older.
    for (const char* t : {"Historico_Jornadas", "assistencias", "transferencias_clubes"}) EXPECT_EQ(contar(std::string("SELECT count(*) FROM ") + t), 0) << t;
    EXPECT_GT(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE sit = 1"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre m WHERE sit = 1 AND NOT EXISTS (SELECT 1 FROM jogadores j "
                     "WHERE j.nome = m.nome AND j.equipa = m.equipa AND j.pos = m.pos AND j.idade = m.idade)"), 0);
}

} // namespace
} // namespace gv
