// A whole season played headless, round after round, then the season
// change, and the first round of the next season.

#include <map>
#include <set>

#include "data/liga.h"
#include "data/tacticas.h"
#include "jogo_apoio.h"
#include "matchday/ronda.h"
#include "season/mudanca_epoca.h"

namespace gv {
namespace {

class Epoca_Completa : public teste::Com_Mestra {
protected:
    // Division -> clubs in standings order.
    std::map<int, std::vector<std::string>> tabela() {
        std::map<int, std::vector<std::string>> t;
        auto rs = Base_Dados->OpenRecordset("SELECT clube, div FROM clubes ORDER BY div, pontos DESC, (g_mar-g_suf) DESC, clube");
        for (; !rs.Eof(); rs.MoveNext()) t[rs["div"].int32()].push_back(rs["clube"].texto());
        return t;
    }
    void jogar_epoca() {
        for (int jornada = 1; jornada <= 34; ++jornada) {
            {
                db::Transaccao t(*Base_Dados);
                Escolher_Melhor_Equipa();
                t.commit();
            }
            if (jornada % 5 == 0 && Eliminatoria_Taca == jornada / 5) {
                ASSERT_EQ(Jogar_Ronda_Taca(), Resultado_Ronda::Jogada) << jornada;
            }
            ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada) << jornada;
        }
    }
};

TEST_F(Epoca_Completa, TheNextSeasonStartsWhole) {
    novo_jogo_pt();
    jogar_epoca();
    ASSERT_EQ(Jornada_Actual, 35);
    ASSERT_EQ(Eliminatoria_Taca, 7);
    ASSERT_FALSE(Vencedor_Taca.empty());
    const auto antes = tabela();
    const int jogadores_treinador = contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    ASSERT_GT(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre"), 0);

    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);

    EXPECT_EQ(Epoca_Actual, 2000);
    EXPECT_EQ(Jornada_Actual, 1);
    EXPECT_EQ(Eliminatoria_Taca, 1);
    EXPECT_TRUE(Vencedor_Taca.empty());
    EXPECT_EQ(contar("SELECT count(*) FROM principal WHERE Epoca = 2000 AND Jornada = 1 AND taca = 1 AND T_contrato = 1"), 1);

    // Divisions: 18 each, three up and three down between neighbours.
    const auto depois = tabela();
    EXPECT_EQ(contar("SELECT count(*) FROM clubes"), 54);
    for (int div = 1; div <= 3; ++div) ASSERT_EQ(depois.at(div).size(), 18u) << div;
    auto div_nova = [&](const std::string& c) { return contar("SELECT div FROM clubes WHERE clube = ?", {c}); };
    for (int div = 1; div <= 3; ++div)
        for (int lugar = 0; lugar < 18; ++lugar) {
            const std::string& c = antes.at(div)[static_cast<std::size_t>(lugar)];
            int esperada = div;
            if (lugar < 3 && div > 1) esperada = div - 1;
            if (lugar >= 15 && div < 3) esperada = div + 1;
            EXPECT_EQ(div_nova(c), esperada) << c;
        }

    // The new calendar follows the new divisions; the cup is drawn.
    EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 918);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos INNER JOIN clubes ON jogos.casa = clubes.clube WHERE jogos.div <> clubes.div"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 32);
    EXPECT_EQ(contar("SELECT count(DISTINCT clube) FROM (SELECT casa AS clube FROM jogos_taca UNION ALL "
                     "SELECT fora FROM jogos_taca) WHERE clube IN (SELECT clube FROM clubes_taca)"),
              64);

    // Histories and winners of 1999.
    EXPECT_EQ(contar("SELECT count(*) FROM historico_clube"), 54);
    EXPECT_EQ(contar("SELECT count(*) FROM historico_equipas_epoca WHERE ano = 1999"), 54);
    EXPECT_EQ(contar("SELECT sum(pontos_total) FROM historico_clube"), 54 * 55 / 2);
    EXPECT_EQ(contar("SELECT count(*) FROM historico_treinador WHERE ano = 1999"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM ultimos_venc WHERE Epoca = 1999"), 7);
    EXPECT_EQ(Base_Dados->valor("SELECT equipa FROM ultimos_venc WHERE Tipo = 'D1'").texto(), antes.at(1)[0]);

    // Every computer club at 2-6-6-5; no line-ups, loans or goals left over.
    EXPECT_EQ(contar("SELECT count(*) FROM (SELECT equipa, sum(pos = 'gk') AS gk, sum(pos = 'df') AS df, "
                     "sum(pos = 'md') AS md, sum(pos = 'av') AS av FROM jogadores WHERE equipa <> ? GROUP BY equipa) "
                     "WHERE gk = 2 AND df = 6 AND md = 6 AND av = 5",
                     {Clube_Treinador}),
              53);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa <> ? AND (joga <> 0 OR contrato <= 0)", {Clube_Treinador}), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE golos <> 0 OR emprestado <> 0 OR clube_origem <> '0'"), 0);
    EXPECT_LE(contar("SELECT count(*) FROM jogadores WHERE equipa = ?", {Clube_Treinador}), jogadores_treinador);

    // Prices by the bands; computer wages from them.
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE preco <> (40 - idade) * forca * CASE WHEN forca <= 35 THEN 300 "
                     "WHEN forca <= 60 THEN 400 WHEN forca <= 75 THEN 650 WHEN forca <= 100 THEN 900 ELSE 1500 END"),
              0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa <> ? AND preco >= 0 AND ordenado <> preco / 100",
                     {Clube_Treinador}),
              0);

    // The season's records are cleared; no active scorer without his player.
    for (const char* t : {"Historico_Jornadas", "assistencias", "transferencias_clubes"})
        EXPECT_EQ(contar(std::string("SELECT count(*) FROM ") + t), 0) << t;
    EXPECT_EQ(contar("SELECT count(*) FROM Melhores_Marcadores_Sempre m WHERE sit = 1 AND NOT EXISTS (SELECT 1 FROM "
                     "jogadores j WHERE j.nome = m.nome AND j.equipa = m.equipa AND j.pos = m.pos AND j.idade = m.idade)"),
              0);

    // And the new season plays.
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos WHERE jor = 1 AND result IS NOT NULL"), 27);
}

} // namespace
} // namespace gv
