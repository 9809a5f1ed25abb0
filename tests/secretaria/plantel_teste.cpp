// The squad as the desk lists it.

#include <map>
#include <set>

#include "data/plantel.h"
#include "data/tacticas.h"
#include "jogo_apoio.h"

using namespace gv;

namespace {

class Plantel : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
    }
    int jogadores_do_clube() {
        return contar("SELECT count(*) FROM jogadores WHERE equipa = ? OR clube_origem = ?",
                      {Clube_Treinador, Clube_Treinador});
    }
    // Every player of the club and every one it lent out, once each, and
    // the sections in order with nothing between them.
    void verificar_completo(const std::vector<Linha_Plantel>& linhas) {
        EXPECT_EQ(static_cast<int>(linhas.size()), jogadores_do_clube());
        std::set<long long> ids;
        for (const auto& l : linhas) EXPECT_TRUE(ids.insert(l.rowid).second) << l.nome << " twice";
        for (std::size_t i = 1; i < linhas.size(); ++i)
            EXPECT_LE(static_cast<int>(linhas[i - 1].seccao), static_cast<int>(linhas[i].seccao));
    }
    std::string outro_clube() {
        return Base_Dados->valor("SELECT clube FROM clubes WHERE clube <> ? LIMIT 1", {Clube_Treinador}).texto();
    }
};

TEST_F(Plantel, FourFourTwoLaysOutLineUpThenReservesWithOneSubstitutePerLine) {
    auto linhas = Linhas_Plantel("4-4-2");
    verificar_completo(linhas);
    const std::vector<std::string> esperado{"gk", "df", "df", "df", "df", "md", "md", "md", "md", "av", "av"};
    for (std::size_t i = 0; i < esperado.size(); ++i) {
        EXPECT_EQ(linhas[i].pos, esperado[i]) << i;
        EXPECT_EQ(linhas[i].seccao, Seccao_Plantel::Equipa);
        EXPECT_EQ(linhas[i].marca, 1);
    }
    std::map<std::string, int> suplentes;
    std::string pos_anterior;
    for (std::size_t i = 11; i < linhas.size(); ++i) {
        EXPECT_EQ(linhas[i].seccao, Seccao_Plantel::Reservas);
        if (linhas[i].marca == 2) {
            suplentes[linhas[i].pos]++;
            EXPECT_NE(linhas[i].pos, pos_anterior) << "the substitute is the first reserve of his line";
        }
        pos_anterior = linhas[i].pos;
    }
    EXPECT_EQ(suplentes, (std::map<std::string, int>{{"gk", 1}, {"df", 1}, {"md", 1}, {"av", 1}}));
    // Within a line, strongest first.
    for (std::size_t i = 1; i < 11; ++i)
        if (linhas[i].pos == linhas[i - 1].pos) {
            EXPECT_GE(linhas[i - 1].forca, linhas[i].forca);
        }
}

TEST_F(Plantel, TwoStoredGoalkeeperStartersStillListEveryPlayerOnce) {
    Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE equipa = ? AND pos = 'gk'", {Clube_Treinador});
    ASSERT_GE(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1 AND pos = 'gk'", {Clube_Treinador}), 2);
    auto linhas = Linhas_Plantel(Tactica_Actual());
    verificar_completo(linhas);
    EXPECT_EQ(std::count_if(linhas.begin(), linhas.end(),
                            [](auto& l) { return l.pos == "gk" && l.seccao == Seccao_Plantel::Equipa; }),
              1);
}

TEST_F(Plantel, InjuredLentOutAndBorrowedPlayersHaveTheirOwnPlaces) {
    // The club keeps a single goalkeeper, injured.
    auto gks = Base_Dados->OpenRecordset("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'gk' ORDER BY forca DESC",
                                         {Clube_Treinador});
    long long lesionado = gks.rowid();
    Base_Dados->Execute("UPDATE jogadores SET joga = 3, lesionado = 1, lesionado_jor = 4 WHERE rowid = ?", {lesionado});
    for (gks.MoveNext(); !gks.Eof(); gks.MoveNext())
        Base_Dados->Execute("UPDATE jogadores SET equipa = ? WHERE rowid = ?", {outro_clube(), gks.rowid()});
    // One defender lent out, one forward borrowed from elsewhere.
    long long cedido = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'df' LIMIT 1",
                                         {Clube_Treinador}).inteiro();
    Base_Dados->Execute("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1, joga = 1 WHERE rowid = ?",
                        {outro_clube(), Clube_Treinador, cedido});
    long long recebido = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'av' LIMIT 1",
                                           {outro_clube()}).inteiro();
    Base_Dados->Execute("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1 WHERE rowid = ?",
                        {Clube_Treinador, outro_clube(), recebido});

    auto linhas = Linhas_Plantel("4-4-2");
    verificar_completo(linhas);
    std::map<long long, Linha_Plantel> por_id;
    for (auto& l : linhas) por_id[l.rowid] = l;
    EXPECT_EQ(por_id[lesionado].seccao, Seccao_Plantel::Indisponiveis);
    EXPECT_EQ(por_id[lesionado].lesionado_jor, 4);
    EXPECT_EQ(por_id[cedido].seccao, Seccao_Plantel::Emprestados);
    EXPECT_NE(por_id[recebido].seccao, Seccao_Plantel::Emprestados);
    EXPECT_TRUE(por_id[recebido].emprestado);
    EXPECT_EQ(std::count_if(linhas.begin(), linhas.end(), [](auto& l) { return l.pos == "gk" && l.marca != 0; }), 0)
        << "no goalkeeper in the line-up or on the bench";
    EXPECT_EQ(linhas.back().seccao, Seccao_Plantel::Emprestados);
}

TEST_F(Plantel, ALineWithNoPlaceInTheFormationGoesToTheBench) {
    auto linhas = Linhas_Plantel("5-5-0");
    verificar_completo(linhas);
    int avancados_na_equipa = 0, avancados_suplentes = 0;
    for (auto& l : linhas) {
        if (l.pos != "av") continue;
        avancados_na_equipa += l.seccao == Seccao_Plantel::Equipa;
        avancados_suplentes += l.marca == 2;
    }
    EXPECT_EQ(avancados_na_equipa, 0);
    EXPECT_EQ(avancados_suplentes, 1);
    // More players asked of a line than it has: they all start.
    auto muitos = Linhas_Plantel("9-0-1");
    verificar_completo(muitos);
}

} // namespace
