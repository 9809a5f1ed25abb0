// The opponent's eleven: the engine's formation order by venue, the
// fallback when a line is short, and the padded lines of the list.

#include <gtest/gtest.h>

#include <map>

#include "apoio_ecras_intervalo.h"

namespace gv {
namespace {

using teste::ADVERSARIO;

class Equipa_Adv : public teste::Ecras_Intervalo {
protected:
    QListWidget* lista() { return controlo<QListWidget>(instancia<FrmEquipa_Adv>(), "List1"); }
    // Lines listed per position (characters 4 and 5 of each line).
    std::map<std::string, int> posicoes_listadas() {
        std::map<std::string, int> r;
        for (int i = 0; i < lista()->count(); ++i) ++r[lista()->item(i)->text().mid(3, 2).toStdString()];
        return r;
    }
    std::map<std::string, int> titulares_guardados() {
        std::map<std::string, int> r;
        auto rs = Base_Dados->OpenRecordset(
            "SELECT pos, count(*) AS n FROM jogadores WHERE equipa = ? AND joga = 1 GROUP BY pos", {ADVERSARIO});
        for (; !rs.Eof(); rs.MoveNext()) r[rs["pos"].texto()] = rs["n"].int32();
        return r;
    }
    void descarregar_adv() {
        descarregar<FrmEquipa_Adv>();
        teste::apagar_pendentes();
    }
};

TEST_F(Equipa_Adv, AnOpponentAtHomeWithTwoFitForwardsFallsBackFrom433To532) {
    Jogo_Em_Casa = 0;   // the manager away: the opponent tries 4-3-3 first
    plantel(ADVERSARIO, 2, 5, 5, 2);   // with "Rival Titular", six defenders
    const long long ferido = jogador(ADVERSARIO, "av", 99, 3);
    instancia<FrmEquipa_Adv>();

    const std::map<std::string, int> esperado{{"gk", 1}, {"df", 5}, {"md", 3}, {"av", 2}};
    ASSERT_EQ(lista()->count(), 11);
    EXPECT_EQ(posicoes_listadas(), esperado);
    EXPECT_EQ(titulares_guardados(), esperado) << "the listed eleven is the one written";
    EXPECT_EQ(joga(ferido), 3) << "an injured player is never picked";
    // Numbers run on across the lines: defenders from 2, forwards after the midfield.
    EXPECT_TRUE(lista()->item(0)->text().startsWith("1  gk "));
    EXPECT_TRUE(lista()->item(1)->text().startsWith("2  df "));
    EXPECT_TRUE(lista()->item(9)->text().startsWith("10 av "));
    EXPECT_TRUE(lista()->item(10)->text().startsWith("11 av "));
}

TEST_F(Equipa_Adv, AFullSquadKeepsTheFirstFormationOfItsVenue) {
    plantel(ADVERSARIO, 2, 6, 6, 4);
    const std::pair<int, std::map<std::string, int>> casos[] = {
        {0, {{"gk", 1}, {"df", 4}, {"md", 3}, {"av", 3}}},   // opponent at home: 4-3-3
        {1, {{"gk", 1}, {"df", 5}, {"md", 3}, {"av", 2}}},   // opponent away: 5-3-2
    };
    for (const auto& [em_casa, esperado] : casos) {
        SCOPED_TRACE(em_casa);
        Jogo_Em_Casa = em_casa;
        instancia<FrmEquipa_Adv>();
        EXPECT_EQ(posicoes_listadas(), esperado);
        EXPECT_EQ(titulares_guardados(), esperado);
        descarregar_adv();
    }
}

TEST_F(Equipa_Adv, LinesArePaddedWithStrengthRightAlignedAndGoalsInTwoDigits) {
    Base_Dados->Execute("DELETE FROM jogadores WHERE equipa = ?", {ADVERSARIO});
    const struct {
        const char* pos;
        const char* nome;
        int forca, golos;
    } jogadores[] = {{"av", "João Ümlaut", 9, 7},
                     {"md", "Nome Comprido Demais Para Caber", 61, 12},
                     {"df", "Defesa Adv", 75, 3},
                     {"gk", "Guarda Adv", 100, 0}};
    for (const auto& j : jogadores) {
        long long r = jogador(ADVERSARIO, j.pos, j.forca, 0, j.nome);
        Base_Dados->Execute("UPDATE jogadores SET golos = ? WHERE rowid = ?", {j.golos, r});
    }
    instancia<FrmEquipa_Adv>();
    ASSERT_EQ(lista()->count(), 4) << "a club short in every formation keeps what it has";
    EXPECT_EQ(lista()->item(0)->text(), QString::fromUtf8("1  gk Guarda Adv             100 (00)"));
    EXPECT_EQ(lista()->item(1)->text(), QString::fromUtf8("2  df Defesa Adv              75 (03)"));
    // A name longer than its 23 characters is cut, so the columns hold.
    EXPECT_EQ(lista()->item(2)->text(), QString::fromUtf8("3  md Nome Comprido Demais Pa 61 (12)"));
    // Accented letters count as one character each.
    EXPECT_EQ(lista()->item(3)->text(), QString::fromUtf8("4  av João Ümlaut              9 (07)"));
    EXPECT_TRUE(teste::largura_fixa(lista()->font()));
}

TEST_F(Equipa_Adv, CaptionInBothLanguages) {
    instancia<FrmEquipa_Adv>();
    EXPECT_EQ(instancia<FrmEquipa_Adv>().windowTitle(), QString::fromUtf8("Constituição da Equipa: Adversário FC"));
    EXPECT_EQ(controlo<QPushButton>(instancia<FrmEquipa_Adv>(), "Command1")->text(), "&OK");
    descarregar_adv();
    Lingua = "I";
    EXPECT_EQ(instancia<FrmEquipa_Adv>().windowTitle(), QString::fromUtf8("Players of the Team: Adversário FC"));
}

TEST_F(Equipa_Adv, ACupOpponentOutsideTheLeagueListsNobody) {
    Adversario = "Clube Amador";
    EXPECT_EQ(lista()->count(), 0);
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Equipa_Adv, OkUnloads) {
    controlo<QPushButton>(instancia<FrmEquipa_Adv>(), "Command1")->click();
    EXPECT_FALSE(carregado<FrmEquipa_Adv>());
}

} // namespace
} // namespace gv
