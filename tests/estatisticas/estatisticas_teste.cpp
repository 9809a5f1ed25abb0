// What the statistics, calendar and history screens read and how their
// lines are laid out.

#include <set>
#include <tuple>

#include "../mercado/apoio_mercado.h"
#include "jornada/apoio_jornada.h"
#include "stats/estatisticas.h"

namespace gv {
namespace {

using Textos = std::vector<std::string>;

// One field of every element, in order.
template <class T, class M>
std::vector<M> campos(const std::vector<T>& v, M T::*m) {
    std::vector<M> r;
    for (const auto& x : v) r.push_back(x.*m);
    return r;
}

// ---------------------------------------------------------------- texts

TEST(Textos, ACalendarLineShowsTheOpponentsPlaceAndTheLettersOfTheClubShown) {
    for (auto [em_casa, desfecho, pt, en] :
         {std::tuple{true, Desfecho::Vitoria_Casa, "CV", "HW"}, {false, Desfecho::Vitoria_Casa, "FD", "AL"},
          {true, Desfecho::Vitoria_Fora, "CD", "HL"}, {false, Desfecho::Vitoria_Fora, "FV", "AW"},
          {true, Desfecho::Empate, "CE", "HD"}, {false, Desfecho::Por_Jogar, "F", "A"}}) {
        Jogo_Calendario j;
        j.jor = 7, j.casa = "Alfa", j.fora = "Beta", j.em_casa = em_casa, j.lugar_adversario = 12;
        Jogo_Calendario jogado = j;
        jogado.desfecho = desfecho;
        for (auto [lingua, letras] : {std::pair{"P", pt}, {"I", en}}) {
            Lingua = lingua;
            EXPECT_EQ(jogado.letra_local() + jogado.letra_resultado(), letras) << em_casa << lingua;
        }
        EXPECT_EQ(j.texto_casa() + "|" + j.texto_fora(), em_casa ? "Alfa|Beta (12)" : "(12) Alfa|Beta");
    }
    Lingua = "P";
    const Eliminatoria e{"Alfa", "Beta", 0, 3};   // a cup tie carries the divisions
    EXPECT_EQ(e.texto_casa() + "|" + e.texto_fora(), "(0) Alfa|Beta (3)");
}

TEST(Textos, CupCaptionNamesTheRoundByItsNumberOfTies) {
    EXPECT_EQ(Titulo_Calendario_Taca(16, 2, 1999), "Jogos Taça - 2ª eliminatória  - 1999");
    EXPECT_EQ(Titulo_Calendario_Taca(2, 5, 2000), "Jogos Taça - Meias Finais - 2000");
    EXPECT_EQ(Titulo_Calendario_Taca(1, 6, 2000), "Jogos Taça - Final - 2000");
    EXPECT_EQ(Titulo_Calendario_Taca(0, 7, 2000) + Titulo_Calendario_Taca(5, 1, 2000), "");
    Lingua = "I";
    EXPECT_EQ(Titulo_Calendario_Taca(32, 1, 1999), "CUP Games - 1st Match - 1999");
    EXPECT_EQ(Titulo_Calendario_Taca(8, 3, 1999), "CUP Matchs - 3rd Match  - 1999");
    EXPECT_EQ(Titulo_Calendario_Taca(2, 5, 1999), "CUP Matchs - Semifinal - 1999");
    Lingua = "P";
}

TEST(Textos, PaddedFieldsKeepTheirColumnsWhateverTheTextsLength) {
    EXPECT_EQ(campo_fixo("Benfica", 10), "Benfica   ");
    EXPECT_EQ(campo_fixo("Académica", 10), "Académica ");   // counted in characters, not bytes
    EXPECT_EQ(campo_fixo("Uma Equipa Com Nome Muito Longo", 10), "Uma Equipa");
    EXPECT_EQ(Linha_Media(1, {"Alfa", 62.5}), "1  Alfa" + std::string(26, ' ') + "62.50");
    EXPECT_EQ(Linha_Media(10, {"Alfa", 7}).substr(0, 4), "10 A");
    EXPECT_EQ(Linha_Marcador_Epoca(1, {"Um Nome Demasiado Comprido Aqui", "Clube", 7}).substr(27), "Clube" + std::string(15, ' ') + " 7");
    EXPECT_EQ(Linha_Marcador_Epoca(12, {"Nome", "Operário Tapada Nova", 10}).substr(3 + 24), "Operário Tapada Nova 10");
}

// ---------------------------------------------------------------- a real league

using Calendario = teste::Com_Jogo;

TEST_F(Calendario, EveryMatchdayInOrderScoresReadWholeWithThatMatchdaysPlaceAndPoints) {
    auto jogos = Calendario_Clube(Clube_Treinador);
    ASSERT_EQ(jogos.size(), 34u);
    std::set<int> lugares;
    for (int i = 0; i < 34; ++i) {
        const auto& j = jogos[static_cast<std::size_t>(i)];
        EXPECT_TRUE(j.jor == i + 1 && j.desfecho == Desfecho::Por_Jogar && !j.golos_casa && !j.lugar && !j.pontos) << i;
        EXPECT_EQ(Clube_Treinador, j.em_casa ? j.casa : j.fora);
        lugares.insert(j.lugar_adversario);
    }
    // Seventeen opponents, each in his own place of the eighteen.
    EXPECT_EQ(lugares.size(), 17u);
    EXPECT_TRUE(*lugares.begin() >= 1 && *lugares.rbegin() <= 18);

    // Scores of matchdays 1 and 2; the place and points of matchday 1, and another club's line of matchday 2.
    Base_Dados->executar_script(
        "UPDATE jogos SET result = ' 10 - 2 ' WHERE jor = 1; UPDATE jogos SET result = '1 - 1' WHERE jor = 2; "
        "UPDATE jogos SET result = '  ' WHERE jor = 3; INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES "
        "(1, '" + Clube_Treinador + "', 3, 7), (2, 'Outro', 0, 1)");
    jogos = Calendario_Clube(Clube_Treinador);
    const auto& j = jogos.at(0);
    ASSERT_TRUE(j.golos_casa && j.golos_fora && j.lugar && j.pontos);
    EXPECT_EQ(std::tuple(*j.golos_casa, *j.golos_fora, j.desfecho, *j.lugar, *j.pontos),
              std::tuple(10, 2, Desfecho::Vitoria_Casa, 7, 3));
    EXPECT_EQ(jogos.at(1).desfecho, Desfecho::Empate);
    EXPECT_FALSE(jogos[1].lugar || jogos[1].pontos);
    EXPECT_EQ(jogos.at(2).desfecho, Desfecho::Por_Jogar);   // a blank score is a match not yet played
}

TEST_F(Calendario, CupTiesInTheirOrderCarryEachClubsDivision) {
    const auto ties = Jogos_Taca();
    ASSERT_EQ(ties.size(), 32u);
    std::set<int> divisoes;
    for (std::size_t i = 0; i < ties.size(); ++i) {
        const auto& e = ties[i];
        EXPECT_LE(db::comparar_nomes(ties[i ? i - 1 : 0].casa, e.casa), 0);
        divisoes.insert({e.div_casa, e.div_fora});
        if (e.casa == Clube_Treinador || e.fora == Clube_Treinador) {
            EXPECT_EQ(e.casa == Clube_Treinador ? e.div_casa : e.div_fora, 1);
        }
    }
    EXPECT_EQ(divisoes, (std::set<int>{0, 1, 2, 3}));   // clubs outside the league are of division 0
}

// ---------------------------------------------------------------- a bare database

class Leituras : public teste::Base_Jornada {
protected:
    void SetUp() override {
        Base_Jornada::SetUp();
        Clube_Treinador = "Alfa";
        Epoca_Actual = 2001;
    }
    void exec(const std::string& sql, const db::Parametros& p = {}) { Base_Dados->Execute(sql, p); }
    // Many rows in one transaction.
    void linhas(int n, const std::string& sql, const std::function<db::Parametros(int)>& valores) {
        Base_Dados->BeginTrans();
        for (int i = 0; i < n; ++i) exec(sql, valores(i));
        Base_Dados->CommitTrans();
    }
};

TEST_F(Leituras, GatesNewestFirstTotalsByCompetitionAndAverageStrengthsByPosition) {
    EXPECT_TRUE(Assistencias().empty());
    EXPECT_EQ(Receitas_Competicao("Campeonato"), 0);
    exec("INSERT INTO assistencias (Jornada, Jogo, Tipo, assistencia, receita) VALUES (1, 'Alfa-Beta', 'Campeonato', 1000, "
         "1234567), (5, 'Alfa-Gama', 'Taça', 2000, 50), (5, 'Alfa-Delta', 'Campeonato', 3000, 3)");
    // The league match follows the cup tie of its matchday.
    EXPECT_EQ(campos(Assistencias(), &Assistencia_Jogo::jogo), (Textos{"Alfa-Delta", "Alfa-Gama", "Alfa-Beta"}));
    EXPECT_EQ(std::pair(Receitas_Competicao("Campeonato"), Receitas_Competicao("Taça")), std::pair(1234570LL, 50LL));
    exec("INSERT INTO jogadores (nome, equipa, pos, forca) VALUES ('a', 'Alfa', 'gk', 60), ('b', 'Alfa', 'gk', 65), "
         "('c', 'Beta', 'gk', 70), ('d', 'Gama', 'df', 90)");
    const auto v = Medias_Posicao("gk");
    EXPECT_EQ(campos(v, &Media_Clube::clube), (Textos{"Beta", "Alfa"}));
    EXPECT_EQ(campos(v, &Media_Clube::media), (std::vector<double>{70, 62.5}));
    EXPECT_EQ(Medias_Posicao("df").size(), 1u);
}

TEST_F(Leituras, SeasonScorersAreTopTwentyOfTheirCurrentClubsDivisionTiesByName) {
    exec("INSERT INTO clubes (clube, div) VALUES ('Alfa', 1), ('Beta', 2)");
    exec("INSERT INTO jogadores (nome, equipa, golos) VALUES ('Zé', 'Alfa', 7), ('Ana', 'Alfa', 7), ('Rui', 'Beta', 9), "
         "('Nulo', 'Alfa', 0)");
    auto nomes = [](int div) { return campos(Melhores_Marcadores_Divisao(div), &Marcador_Da_Epoca::nome); };
    EXPECT_EQ(nomes(1), (Textos{"Ana", "Zé"}));
    EXPECT_EQ(nomes(2), Textos{"Rui"});
    EXPECT_TRUE(nomes(3).empty());
    exec("UPDATE jogadores SET equipa = 'Beta' WHERE nome = 'Zé'");   // under his new club's division
    EXPECT_EQ(nomes(2), (Textos{"Rui", "Zé"}));
    linhas(25, "INSERT INTO jogadores (nome, equipa, golos) VALUES (?, 'Alfa', ?)",
           [](int i) { return db::Parametros{"J" + std::to_string(100 + i), 1 + (i < 19)}; });
    // Ana with 7, then 19 with two goals: the twentieth is J118; only a tie on goals and name follows him.
    EXPECT_EQ(nomes(1).size(), 20u);
    EXPECT_EQ(nomes(1).back(), "J118");
    exec("INSERT INTO jogadores (nome, equipa, golos) VALUES ('J118', 'Alfa', 2)");
    EXPECT_EQ(nomes(1).size(), 21u);
    EXPECT_TRUE(Ha_Golos_Epoca());
    exec("UPDATE jogadores SET golos = 0");
    EXPECT_FALSE(Ha_Golos_Epoca());
}

TEST_F(Leituras, AllTimeScorersKeepTheirUnfilteredRankAndShowWhenTheyStopped) {
    linhas(105, "INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, idade, golos, sit) VALUES (?, ?, 25, ?, 1)",
           [](int i) { return db::Parametros{"N" + std::to_string(1000 + i), i % 10 == 2 ? "Beta" : "Alfa", 500 - i}; });
    exec("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, idade, golos, sit, ano) VALUES ('Velho', 'Beta', 36, 450, 0, 2003)");
    const auto a_jogar = Marcadores_Sempre(Lista_Sempre::A_Jogar);
    ASSERT_EQ(a_jogar.size(), 100u);
    EXPECT_EQ(a_jogar.back().rank, 100);
    EXPECT_EQ(campos(Marcadores_Sempre(Lista_Sempre::A_Jogar, "Beta"), &Marcador_Sempre::rank),
              (std::vector<int>{3, 13, 23, 33, 43, 53, 63, 73, 83, 93}));
    const auto retirados = Marcadores_Sempre(Lista_Sempre::Retirados);
    ASSERT_EQ(retirados.size(), 1u);
    EXPECT_EQ(Linha_Marcador_Sempre(retirados[0]), "1   Velho(2003-36)" + std::string(16, ' ') + "Beta" + std::string(21, ' ') + "450");
    EXPECT_EQ(Linha_Marcador_Sempre(a_jogar[0]).substr(0, 34), "1   N1000" + std::string(25, ' '));
    // Global: the stopped scorer ranks among everyone, after the fifty
    // with more goals and N1050, tied, by name.
    const auto global = Marcadores_Sempre(Lista_Sempre::Global, "Beta");
    EXPECT_EQ(global.at(5).nome + " " + std::to_string(global[5].rank), "Velho 52");
}

TEST_F(Leituras, TransfersSplitInAndOutWithSeasonAndTotalAmountsAndFilterOnTheClubItself) {
    const auto totais = [] {
        const auto t = Totais_Transferencias_Clube(2001);
        return std::vector<long long>{t.gastos_epoca, t.gastos_total, t.receitas_epoca, t.receitas_total};
    };
    EXPECT_EQ(totais(), (std::vector<long long>{0, 0, 0, 0}));
    exec("INSERT INTO transferencias (Epoca, Jornada, pos, nome, forca, Tipo, valor) VALUES "
         "(2000, 30, 'gk', 'A (20)', 50, 'C', 100), (2001, 3, 'df', 'B (21)', 50, 'E+', 10), "
         "(2001, 9, 'md', 'C (22)', 50, 'V', 1000), (2000, 2, 'av', 'D (23)', 50, 'E-', 5)");
    EXPECT_EQ(totais(), (std::vector<long long>{10, 110, 1000, 1005}));
    EXPECT_EQ(campos(Transferencias_Clube(true), &Transferencia::nome), (Textos{"B (21)", "A (20)"}));
    Textos tipos;
    for (const auto& t : Transferencias_Clube(false)) tipos.push_back(Texto_Tipo_Transferencia(t.tipo));
    tipos.push_back(Texto_Tipo_Transferencia("C") + "/" + Texto_Tipo_Transferencia("X"));
    EXPECT_EQ(tipos, (Textos{"Venda", "Empréstimo", "Compra/"}));

    exec("INSERT INTO transferencias_clubes (jornada, pos, nome, forca, tipo, valor, idade) VALUES "
         "(3, 'gk', 'Um', 50, '(1) Alfa -> Beta (2)', 300, 24), (7, 'df', 'Dois', 50, '(2) Beta -> Alfa (1)', 100, 25), "
         "(7, 'md', 'Tres', 50, '(1) Alfa Nova -> Gama (3)', 900, 26), (7, 'av', 'Quatro', 50, '(3) Gama -> Nova Alfa (0)', 200, 27)");
    const auto todas = Transferencias_Todas("", Ordem_Transferencias::Jornada);   // latest matchday, dearest first
    EXPECT_EQ(campos(todas, &Transferencia_Clubes::nome), (Textos{"Tres", "Quatro", "Dois", "Um"}));
    EXPECT_EQ(todas.at(0).texto_nome(), "MD - Tres (26)");
    EXPECT_EQ(campos(Transferencias_Todas("Alfa", Ordem_Transferencias::Preco), &Transferencia_Clubes::nome), (Textos{"Um", "Dois"}));
    EXPECT_EQ(Transferencias_Todas("Gama", Ordem_Transferencias::Jornada).size(), 2u);
}

TEST_F(Leituras, HistoriesOfTheManagerWithItsTotalAndOfTheClubs) {
    EXPECT_FALSE(Ler_Historico_Treinador().total);
    exec("INSERT INTO historico_treinador (ano, clube, div, v, e, d, g_mar, g_suf, pontos, Class, d_in, d_out, taca, div_1) "
         "VALUES (1999, 'Alfa', 1, 20, 5, 9, 45, 30, 65, 1, 1234567, 10, 1, 1), (2000, 'Beta', 2, 1, 1, 1, 3, 3, 4, 9, 0, 0, "
         "NULL, 0), (2000, 'Gama', 2, 10, 2, 3, 20, 10, 32, 2, 0, 0, 0, 0)");
    const auto h = Ler_Historico_Treinador();
    // The longer stint of a season first; a Null cup shows empty; the total ignores empty cells.
    EXPECT_EQ(campos(h.linhas, &Linha_Historico::clube), (Textos{"Gama", "Beta", "Alfa"}));
    EXPECT_EQ(h.linhas.at(1).celulas.at(9) + "|" + h.linhas[2].celulas.at(8) + "|" + h.linhas[2].celulas.at(14), "|45-30|1,234,567");
    ASSERT_TRUE(h.total);
    const auto& t = h.total->celulas;
    EXPECT_EQ((Textos{t.at(1), t.at(4), t.at(5), t.at(9), t.at(10)}), (Textos{"TOTAL", "", "31", "1", "1"}));
    // Clubs rank by the sum of their places; one club's seasons newest first.
    exec("INSERT INTO historico_clube (clube, pontos_total, g_mar_total, g_suf_total) VALUES ('Gama', 5, 1, 2), "
         "('Beta', 5, 3, 4), ('Alfa', 2, 0, 0)");
    const auto c = Historico_Clubes();
    EXPECT_EQ(campos(c, &Linha_Historico::clube), (Textos{"Alfa", "Beta", "Gama"}));
    EXPECT_EQ(c.at(1).celulas.at(0) + "|" + c[1].celulas.at(7), "2|3-4");
    exec("INSERT INTO historico_equipas_epoca (clube, ano, g_mar) VALUES ('Beta', 1999, '10-5'), ('Beta', 2001, '10-5'), "
         "('Beta', 2000, '10-5')");
    const auto e = Historico_Clube_Epocas("Beta");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].celulas.at(0) + "|" + e[1].celulas.at(0) + "|" + e[2].celulas.at(8), "2001|2000|10-5");
    EXPECT_TRUE(Historico_Clube_Epocas("Alfa").empty());
}

TEST_F(Leituras, WinnersStayEmptyUntilASeasonHasEndedThenListNewestFirst) {
    exec("INSERT INTO ultimos_venc (Epoca, equipa, Tipo, nome, num) VALUES (1999, 'Alfa', 'T', '', 0)");
    exec("INSERT INTO historico_clube (clube, div_1, taca) VALUES ('Alfa', 2, 1), ('Beta', 3, 0), ('Gama', 2, 0)");
    EXPECT_TRUE(Ler_Vencedores().taca.empty());
    exec("INSERT INTO ultimos_venc (Epoca, equipa, Tipo, nome, num) VALUES (1999, 'Benfas', 'D1', '', 75), "
         "(2000, 'Alfa', 'D1', '', 80), (1999, 'Alfa', 'M2', 'Rui', 21)");
    const auto v = Ler_Vencedores();
    const std::string b(17, ' ');
    EXPECT_EQ(v.campeoes[0], (Textos{"2000 Alfa" + b + "80 Pts", "1999 Benfas" + std::string(15, ' ') + "75 Pts"}));
    EXPECT_EQ(v.taca, Textos{"1999 Alfa"});
    EXPECT_EQ(v.marcadores[1], Textos{"1999 Rui" + b + "Alfa" + std::string(16, ' ') + "21 Golos"});
    EXPECT_EQ(v.titulos_div1, (Textos{"Beta" + b + "3", "Alfa" + b + "2", "Gama" + b + "2"}));
    EXPECT_EQ(v.titulos_taca.size(), 1u);
    Lingua = "I";
    EXPECT_EQ(Ler_Vencedores().marcadores[1].at(0).substr(45), "21 Gols");
}

} // namespace
} // namespace gv
