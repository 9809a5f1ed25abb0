// Half time without a window: writing the line-up back, the entry widths
// for names of any length, and a game without referees.

#include <gtest/gtest.h>

#include "apoio_intervalo.h"
#include "matchday/intervalo.h"

namespace gv {
namespace {

class Intervalo : public teste::Base_Intervalo {};

TEST_F(Intervalo, WritingTheLineUpTouchesOnlyTheManagersPlayersAndPassesOverTheRest) {
    Base_Dados->Execute("UPDATE jogadores SET joga = 0 WHERE rowid = ?", {id.at("Rival Titular")});
    const long long ninguem = id.at("Rival Titular") + 1000;
    const int escritos = Gravar_Substituicoes(Clube_Treinador, ids({"Guarda Suplente", "Rival Titular"}),
                                              {ninguem, id.at("Guarda Titular")});
    EXPECT_EQ(escritos, 2);
    EXPECT_EQ(joga(id.at("Guarda Suplente")), 1);
    EXPECT_EQ(joga(id.at("Guarda Titular")), 2);
    EXPECT_EQ(joga(id.at("Rival Titular")), 0) << "another club's player is never written";
}

TEST_F(Intervalo, EntriesKeepTheirColumnsWhateverTheNameLength) {
    // Characters, not bytes: the accented letters count once.
    EXPECT_EQ(Texto_Entrada_Intervalo({1, "df", "José Maria Conceição Gonçalves", 64}), "df José Maria Conceição G64");
    EXPECT_EQ(Texto_Entrada_Intervalo({1, "av", "Zé", 100}), "av Zé                    100");
    const Jogador_Adversario longo{"md", "Ângelo Conceição Magalhães Júnior", 88, 123};
    EXPECT_EQ(Texto_Linha_Adversario(11, longo), "11 md Ângelo Conceição Magalh 88 (123)");
}

TEST_F(Intervalo, AGameWithoutRefereesNamesNobody) {
    Base_Dados->Execute("DELETE FROM arbitros");
    const Trio_Arbitros t = Sortear_Arbitros();
    EXPECT_TRUE(t.ap.empty() && t.aux1.empty() && t.aux2.empty());
}

} // namespace
} // namespace gv
