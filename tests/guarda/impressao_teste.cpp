// A season played from a fixed seed as the next-match button plays it (the
// offers, the computer purchases, the instalment, the scorers' tidy-up and
// the cup draws inside their transactions), then the season change: every
// table's rows must come out exactly as recorded. Faster code must keep
// the same draws in the same order and the same writes.

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "desk/proximo_jogo.h"
#include "jogo_apoio.h"
#include "season/mudanca_epoca.h"

namespace gv {
namespace {

// FNV-1a over each table's name and its rows, sorted: the rows' order in
// the file is not part of the game.
std::string impressao(db::Database& d) {
    std::uint64_t h = 1469598103934665603ull;
    auto juntar = [&](const std::string& s) {
        for (unsigned char c : s) {
            h ^= c;
            h *= 1099511628211ull;
        }
        h ^= 0xff;
        h *= 1099511628211ull;
    };
    for (const auto& t : d.tabelas()) {
        std::vector<std::string> linhas;
        for (auto rs = d.OpenRecordset("SELECT * FROM \"" + t + "\""); !rs.Eof(); rs.MoveNext()) {
            std::string l;
            for (int i = 0; i < rs.n_campos(); ++i) l += rs.campo(i).texto() + "\x1f";
            linhas.push_back(l);
        }
        std::sort(linhas.begin(), linhas.end());
        juntar(t);
        for (const auto& l : linhas) juntar(l);
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

class Impressao : public teste::Com_Mestra {};

TEST_F(Impressao, ASeasonFromAFixedSeedEndsInTheRecordedState) {
    novo_jogo_pt();
    Base_Dados->Execute("UPDATE principal SET d_b_divida = 2000000, d_b_mensal = 30000");
    while (Jornada_Actual <= 34) {
        // Every offer turned down but one in three.
        for (int i = 0; i < 3; ++i) porta.responder(i == 0 ? Resposta::Sim : Resposta::Nao);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada) << Jornada_Actual;
    }
    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
    EXPECT_EQ(std::make_tuple(Epoca_Actual, Jornada_Actual, Eliminatoria_Taca), std::make_tuple(2000, 1, 1));
    EXPECT_EQ(impressao(*Base_Dados), "ccb847f2e2f94c0a");
}

} // namespace
} // namespace gv
