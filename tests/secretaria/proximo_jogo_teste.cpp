// The next-match button's line-up check, line-up write and screen choice.

#include "data/plantel.h"
#include "desk/proximo_jogo.h"
#include "jogo_apoio.h"

using namespace gv;

namespace {

class ProximoJogo : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
    }
    // The grid's rows as the desk lays them out for the stored line-up.
    std::vector<Linha_Escolha> grelha(const std::string& formacao = "4-3-3") {
        std::vector<Linha_Escolha> r;
        for (const auto& l : Linhas_Plantel(formacao)) {
            Linha_Escolha e;
            e.rowid = l.rowid;
            e.marca = l.marca;
            e.pos = l.pos;
            e.nome = l.nome;
            e.cinzento = l.seccao == Seccao_Plantel::Emprestados;
            e.vermelho = l.seccao == Seccao_Plantel::Indisponiveis;
            e.impedido = l.seccao == Seccao_Plantel::Emprestados || (l.seccao == Seccao_Plantel::Indisponiveis && l.lesionado);
            r.push_back(e);
        }
        return r;
    }
    int joga(int valor) {
        return contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = ?", {Clube_Treinador, valor});
    }
};

TEST_F(ProximoJogo, TheDefaultLineUpPasses) {
    auto v = Verificacao_N_Jogadores(grelha());
    EXPECT_FALSE(v.falhou);
    EXPECT_TRUE(v.mensagens.empty());
}

TEST_F(ProximoJogo, GoalkeeperAndCountRulesAreAllReported) {
    auto linhas = grelha();
    // The bench goalkeeper starts too, and every reserve is a substitute.
    for (auto& l : linhas)
        if (l.marca != 1) l.marca = (l.pos == "gk") ? 1 : 2;
    auto v = Verificacao_N_Jogadores(linhas);
    EXPECT_TRUE(v.falhou);
    EXPECT_TRUE(v.combo_vermelho);
    EXPECT_FALSE(v.parou_na_linha);
    ASSERT_EQ(v.mensagens.size(), 3u);
    EXPECT_EQ(v.mensagens[0], "Tem que existir um guarda redes.");
    EXPECT_EQ(v.mensagens[1], "Nº de Jogadores Titulares Inválido. (11 Jog.)");
    EXPECT_EQ(v.mensagens[2], "Nº de Jogadores Suplentes Inválido. (max. 5)");
    // No goalkeeper at all, in English.
    Lingua = "I";
    for (auto& l : linhas) l.marca = l.pos == "gk" ? 0 : l.marca;
    v = Verificacao_N_Jogadores(linhas);
    EXPECT_EQ(v.mensagens[0], "It must exist at least one GK.");
}

TEST_F(ProximoJogo, FiveSubstitutesPassSixFail) {
    auto linhas = grelha();
    int suplentes = 0;
    for (auto& l : linhas)
        if (l.marca == 2) ++suplentes;
    for (auto& l : linhas)
        if (l.marca == 0 && suplentes < 5) {
            l.marca = 2;
            ++suplentes;
        }
    ASSERT_EQ(suplentes, 5);
    EXPECT_FALSE(Verificacao_N_Jogadores(linhas).falhou);
    for (auto& l : linhas)
        if (l.marca == 0) {
            l.marca = 2;
            break;
        }
    auto v = Verificacao_N_Jogadores(linhas);
    EXPECT_TRUE(v.falhou);
    EXPECT_EQ(v.mensagens.back(), "Nº de Jogadores Suplentes Inválido. (max. 5)");
}

TEST_F(ProximoJogo, APlayerWhoCannotPlayStopsTheCheckAtHisRow) {
    auto linhas = grelha();
    linhas[3].impedido = true;   // a starter sold since the desk was loaded
    linhas[5].marca = 0;         // and a count error after him, never reached
    auto v = Verificacao_N_Jogadores(linhas);
    EXPECT_TRUE(v.parou_na_linha);
    ASSERT_EQ(v.mensagens.size(), 1u);
    EXPECT_EQ(v.mensagens[0], "O Jogador " + linhas[3].nome + " não pode jogar.");
    Lingua = "I";
    EXPECT_EQ(Verificacao_N_Jogadores(linhas).mensagens[0], "The Player " + linhas[3].nome + " can't play.");
}

TEST_F(ProximoJogo, TheLineUpIsWrittenByPlayerIdentity) {
    // Pick 4-4-2 in the grid; two players share a name and position.
    auto linhas = grelha("4-4-2");
    Base_Dados->Execute("UPDATE jogadores SET nome = 'Gémeo' WHERE rowid IN (?, ?)", {linhas[1].rowid, linhas[14].rowid});
    // An injured player keeps his code; a grey row is left alone.
    long long lesionado = linhas.back().rowid;
    linhas.back().marca = 0;
    linhas.back().vermelho = true;
    Actualizar_Dados_Jogadores_Equipa(linhas);
    for (const auto& l : linhas) {
        int esperado = l.vermelho ? 3 : l.marca;
        EXPECT_EQ(contar("SELECT joga FROM jogadores WHERE rowid = ?", {l.rowid}), esperado) << l.nome;
    }
    EXPECT_EQ(contar("SELECT joga FROM jogadores WHERE rowid = ?", {lesionado}), 3);
    EXPECT_EQ(joga(1), 11);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1 AND pos = 'md'", {Clube_Treinador}), 4);
    // A row can never move another club's player.
    long long alheio = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa <> ? LIMIT 1", {Clube_Treinador}).inteiro();
    Actualizar_Dados_Jogadores_Equipa({Linha_Escolha{alheio, 1, "df", "x", false, false, false}});
    EXPECT_EQ(contar("SELECT joga FROM jogadores WHERE rowid = ?", {alheio}), 0);
}

TEST_F(ProximoJogo, TheMatchScreenFollowsTheCupCalendar) {
    Jornada_Actual = 1;
    EXPECT_EQ(Ecra_Da_Jornada(), Ecra_Jogo::Campeonato);
    Jornada_Actual = 10;
    Eliminatoria_Taca = 2;
    EXPECT_EQ(Ecra_Da_Jornada(), Ecra_Jogo::Taca);
    Eliminatoria_Taca = 3;
    EXPECT_EQ(Ecra_Da_Jornada(), Ecra_Jogo::Campeonato) << "the round of matchday 10 was played";
    Jornada_Actual = 30;
    Eliminatoria_Taca = 7;
    EXPECT_EQ(Ecra_Da_Jornada(), Ecra_Jogo::Campeonato) << "after the final";
    Jornada_Actual = 35;
    EXPECT_EQ(Ecra_Da_Jornada(), Ecra_Jogo::Fim_De_Epoca);
}

} // namespace
