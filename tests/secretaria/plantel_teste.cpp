// The squad as the desk lists it, and the next-match button's line-up
// check, line-up write and screen choice.

#include <map>
#include <set>

#include "../mercado/apoio_mercado.h"
#include "data/plantel.h"
#include "data/tacticas.h"
#include "desk/proximo_jogo.h"

namespace gv {
namespace {

class Plantel : public teste::Com_Jogo {
protected:
    // Every player of the club and every one it lent out, once each, and
    // the sections in order with nothing between them.
    std::vector<Linha_Plantel> completo(const std::string& formacao) {
        auto linhas = Linhas_Plantel(formacao);
        EXPECT_EQ(static_cast<int>(linhas.size()), contar("SELECT count(*) FROM jogadores WHERE equipa = ? OR clube_origem = ?",
                                                          {Clube_Treinador, Clube_Treinador}));
        std::set<long long> ids;
        for (std::size_t i = 0; i < linhas.size(); ++i) {
            EXPECT_TRUE(ids.insert(linhas[i].rowid).second) << linhas[i].nome << " twice";
            EXPECT_TRUE(i == 0 || linhas[i - 1].seccao <= linhas[i].seccao) << i;
        }
        return linhas;
    }
    // The grid's rows as the desk lays them out for the stored line-up.
    std::vector<Linha_Escolha> grelha(const std::string& formacao = "4-3-3") {
        std::vector<Linha_Escolha> r;
        for (const auto& l : Linhas_Plantel(formacao)) {
            const bool cedido = l.seccao == Seccao_Plantel::Emprestados, fora = l.seccao == Seccao_Plantel::Indisponiveis;
            r.push_back({l.rowid, l.marca, l.pos, l.nome, cedido || (fora && l.lesionado), cedido, fora});
        }
        return r;
    }
    static int contar_se(const auto& linhas, auto condicao) {
        return static_cast<int>(std::count_if(linhas.begin(), linhas.end(), condicao));
    }
};

TEST_F(Plantel, FourFourTwoLaysOutLineUpThenReservesWithOneSubstitutePerLine) {
    const auto linhas = completo("4-4-2");
    std::string equipa;
    std::map<std::string, int> suplentes;
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const auto& l = linhas[i];
        EXPECT_EQ(l.seccao, i < 11 ? Seccao_Plantel::Equipa : Seccao_Plantel::Reservas) << i;
        if (i < 11) {
            equipa += l.pos + std::to_string(l.marca) + " ";
            EXPECT_TRUE(i == 0 || l.pos != linhas[i - 1].pos || linhas[i - 1].forca >= l.forca) << "strongest first";
        } else if (l.marca == 2) {
            ++suplentes[l.pos];
            EXPECT_NE(l.pos, linhas[i - 1].pos) << "the substitute is the first reserve of his line";
        }
    }
    EXPECT_EQ(equipa, "gk1 df1 df1 df1 df1 md1 md1 md1 md1 av1 av1 ");
    EXPECT_EQ(suplentes, (std::map<std::string, int>{{"gk", 1}, {"df", 1}, {"md", 1}, {"av", 1}}));
    // A line with no place in the formation goes to the bench; more players
    // asked of a line than it has all start.
    const auto sem_avancados = completo("5-5-0");
    EXPECT_EQ(contar_se(sem_avancados, [](auto& l) { return l.pos == "av" && l.seccao == Seccao_Plantel::Equipa; }), 0);
    EXPECT_EQ(contar_se(sem_avancados, [](auto& l) { return l.pos == "av" && l.marca == 2; }), 1);
    completo("9-0-1");
    // Two stored goalkeeper starters: still one in goal.
    sql("UPDATE jogadores SET joga = 1 WHERE equipa = ? AND pos = 'gk'", {Clube_Treinador});
    EXPECT_EQ(contar_se(completo(Tactica_Actual()), [](auto& l) { return l.pos == "gk" && l.seccao == Seccao_Plantel::Equipa; }),
              1);
}

TEST_F(Plantel, InjuredLentOutAndBorrowedPlayersHaveTheirOwnPlaces) {
    // The club keeps a single goalkeeper, injured.
    auto gks = Base_Dados->OpenRecordset("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'gk' ORDER BY forca DESC",
                                         {Clube_Treinador});
    const long long lesionado = gks.rowid();
    sql("UPDATE jogadores SET joga = 3, lesionado = 1, lesionado_jor = 4 WHERE rowid = ?", {lesionado});
    for (gks.MoveNext(); !gks.Eof(); gks.MoveNext()) sql("UPDATE jogadores SET equipa = ? WHERE rowid = ?", {outro, gks.rowid()});
    // One defender lent out, one forward borrowed from elsewhere.
    const long long cedido = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'df'", {Clube_Treinador}).inteiro();
    sql("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1, joga = 1 WHERE rowid = ?", {outro, Clube_Treinador, cedido});
    const long long recebido = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'av'", {outro}).inteiro();
    sql("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1 WHERE rowid = ?", {Clube_Treinador, outro, recebido});
    const auto linhas = completo("4-4-2");
    std::map<long long, Linha_Plantel> por_id;
    for (auto& l : linhas) por_id[l.rowid] = l;
    EXPECT_EQ(por_id[lesionado].seccao, Seccao_Plantel::Indisponiveis);
    EXPECT_EQ(por_id[lesionado].lesionado_jor, 4);
    EXPECT_EQ(por_id[cedido].seccao, Seccao_Plantel::Emprestados);
    EXPECT_NE(por_id[recebido].seccao, Seccao_Plantel::Emprestados);
    EXPECT_TRUE(por_id[recebido].emprestado);
    EXPECT_EQ(contar_se(linhas, [](auto& l) { return l.pos == "gk" && l.marca != 0; }), 0)
        << "no goalkeeper in the line-up or on the bench";
    EXPECT_EQ(linhas.back().seccao, Seccao_Plantel::Emprestados);
}

TEST_F(Plantel, TheLineUpCheckReportsGoalkeeperAndCountRules) {
    auto linhas = grelha();
    EXPECT_FALSE(Verificacao_N_Jogadores(linhas).falhou) << "the stored line-up passes";
    // Five substitutes pass, six fail.
    int suplentes = contar_se(linhas, [](auto& l) { return l.marca == 2; });
    for (auto& l : linhas)
        if (l.marca == 0 && suplentes < 5) {
            l.marca = 2;
            ++suplentes;
        }
    ASSERT_EQ(suplentes, 5);
    EXPECT_FALSE(Verificacao_N_Jogadores(linhas).falhou);
    std::find_if(linhas.begin(), linhas.end(), [](auto& l) { return l.marca == 0; })->marca = 2;
    EXPECT_EQ(Verificacao_N_Jogadores(linhas).mensagens, std::vector<std::string>{"Nº de Jogadores Suplentes Inválido. (max. 5)"});
    // The bench goalkeeper starts too, and every reserve is a substitute.
    for (auto& l : linhas)
        if (l.marca != 1) l.marca = (l.pos == "gk") ? 1 : 2;
    auto v = Verificacao_N_Jogadores(linhas);
    EXPECT_TRUE(v.falhou && v.combo_vermelho && !v.parou_na_linha);
    EXPECT_EQ(v.mensagens, (std::vector<std::string>{"Tem que existir um guarda redes.", "Nº de Jogadores Titulares Inválido. (11 Jog.)",
                                                     "Nº de Jogadores Suplentes Inválido. (max. 5)"}));
    // No goalkeeper at all, in English.
    Lingua = "I";
    for (auto& l : linhas) l.marca = l.pos == "gk" ? 0 : l.marca;
    EXPECT_EQ(Verificacao_N_Jogadores(linhas).mensagens[0], "It must exist at least one GK.");
}

TEST_F(Plantel, APlayerWhoCannotPlayStopsTheCheckAtHisRow) {
    auto linhas = grelha();
    linhas[3].impedido = true;   // a starter sold since the desk was loaded
    linhas[5].marca = 0;         // and a count error after him, never reached
    auto v = Verificacao_N_Jogadores(linhas);
    EXPECT_TRUE(v.parou_na_linha);
    EXPECT_EQ(v.mensagens, std::vector<std::string>{"O Jogador " + linhas[3].nome + " não pode jogar."});
    Lingua = "I";
    EXPECT_EQ(Verificacao_N_Jogadores(linhas).mensagens[0], "The Player " + linhas[3].nome + " can't play.");
}

TEST_F(Plantel, TheLineUpIsWrittenByPlayerIdentity) {
    // Pick 4-4-2 in the grid; two players share a name and position; an
    // injured player keeps his code.
    auto linhas = grelha("4-4-2");
    sql("UPDATE jogadores SET nome = 'Gémeo' WHERE rowid IN (?, ?)", {linhas[1].rowid, linhas[14].rowid});
    linhas.back().marca = 0;
    linhas.back().vermelho = true;
    Actualizar_Dados_Jogadores_Equipa(linhas);
    for (const auto& l : linhas) EXPECT_EQ(coluna(l.rowid, "joga"), std::to_string(l.vermelho ? 3 : l.marca)) << l.nome;
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {Clube_Treinador}), 11);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1 AND pos = 'md'", {Clube_Treinador}), 4);
    // A row can never move another club's player.
    const long long alheio = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa <> ?", {Clube_Treinador}).inteiro();
    Actualizar_Dados_Jogadores_Equipa({Linha_Escolha{alheio, 1, "df", "x", false, false, false}});
    EXPECT_EQ(coluna(alheio, "joga"), "0");
}

TEST_F(Plantel, TheMatchScreenFollowsTheCupCalendar) {
    // Matchday 10 with its cup round due, then played; after the final; after the season.
    const struct {
        int jornada, eliminatoria;
        Ecra_Jogo ecra;
    } casos[] = {{1, 1, Ecra_Jogo::Campeonato}, {10, 2, Ecra_Jogo::Taca}, {10, 3, Ecra_Jogo::Campeonato},
                 {30, 7, Ecra_Jogo::Campeonato}, {35, 7, Ecra_Jogo::Fim_De_Epoca}};
    for (const auto& c : casos) {
        Jornada_Actual = c.jornada;
        Eliminatoria_Taca = c.eliminatoria;
        EXPECT_EQ(Ecra_Da_Jornada(), c.ecra) << c.jornada << " " << c.eliminatoria;
    }
}

} // namespace
} // namespace gv
