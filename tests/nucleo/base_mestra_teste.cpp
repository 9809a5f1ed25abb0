// Checks every rule of the seed data on the master database the build made.

#include <map>
#include <set>

#include "apoio.h"

using namespace gv;

namespace {

int caracteres(const std::string& s) {
    int n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

bool limpo(const std::string& s) {
    return s.find_first_of("$%*)(|=><\\/'#&;,") == std::string::npos && !s.empty() &&
           s.front() != ' ' && s.back() != ' ';
}

class BaseMestra : public ::testing::Test {
protected:
    static void SetUpTestSuite() { d = db::Database::abrir(GV_BASE_MESTRA, LIGACAO_JOGO, db::Modo::So_Leitura).release(); }
    static void TearDownTestSuite() {
        delete d;
        d = nullptr;
    }
    static db::Database* d;
};
db::Database* BaseMestra::d = nullptr;

TEST_F(BaseMestra, IsPasswordProtected) {
    EXPECT_THROW(db::Database::abrir(GV_BASE_MESTRA, "", db::Modo::So_Leitura), db::Erro_BD);
    EXPECT_THROW(db::Database::abrir(GV_BASE_MESTRA, ";pwd=0000000", db::Modo::So_Leitura), db::Erro_BD);
}

TEST_F(BaseMestra, HoldsEveryTableWithGameTablesEmpty) {
    for (const auto& t : tabelas_base()) {
        ASSERT_TRUE(d->tabela_existe(t.nome)) << t.nome;
        if (tipo_tabela(t.nome) == Tipo_Tabela::Jogo) {
            EXPECT_EQ(d->valor("SELECT count(*) FROM \"" + t.nome + "\"").int32(), 0) << t.nome;
        }
    }
    int sementes = 0;
    for (const char* cc : Codigos_Pais)
        for (const auto& t : tabelas_semente(cc)) sementes += d->tabela_existe(t.nome);
    EXPECT_EQ(sementes, 18);
    int trios = d->valor("SELECT count(*) FROM arbitros").int32();
    EXPECT_GE(trios, 25);
    EXPECT_LE(trios, 40);
    EXPECT_EQ(d->valor("SELECT count(*) FROM arbitros WHERE ap = '' OR aux1 = '' OR aux2 = '' OR ap IS NULL").int32(), 0);
    EXPECT_GE(d->valor("SELECT count(DISTINCT nome_1) FROM jogadores_all").int32(), 500);
    auto pool = d->OpenRecordset("SELECT nome_1 FROM jogadores_all");
    for (; !pool.Eof(); pool.MoveNext()) {
        auto n = pool["nome_1"].texto();
        EXPECT_TRUE(limpo(n) && caracteres(n) <= 20) << n;
    }
}

TEST_F(BaseMestra, FixtureTemplateIsADoubleRoundRobinOfEighteenSlots) {
    EXPECT_EQ(d->valor("SELECT count(*) FROM jor_aux").int32(), 306);
    std::set<std::pair<int, int>> pares;
    std::map<int, std::string> sequencia;  // slot -> H/A per matchday
    for (int jor = 1; jor <= 34; ++jor) {
        auto rs = d->OpenRecordset("SELECT casa, fora FROM jor_aux WHERE jor = ?", {jor});
        EXPECT_EQ(rs.RecordCount(), 9) << "matchday " << jor;
        std::set<int> slots;
        for (; !rs.Eof(); rs.MoveNext()) {
            int c = rs["casa"].int32(), f = rs["fora"].int32();
            ASSERT_TRUE(c >= 1 && c <= 18 && f >= 1 && f <= 18 && c != f);
            slots.insert(c);
            slots.insert(f);
            EXPECT_TRUE(pares.insert({c, f}).second) << c << "-" << f << " twice";
            sequencia[c] += 'H';
            sequencia[f] += 'A';
        }
        EXPECT_EQ(slots.size(), 18u) << "matchday " << jor;
    }
    EXPECT_EQ(pares.size(), 306u);
    for (auto& [slot, s] : sequencia) {
        EXPECT_EQ(std::count(s.begin(), s.end(), 'H'), 17) << slot;
        EXPECT_EQ(s.find("HHH"), std::string::npos) << "slot " << slot << " " << s;
        EXPECT_EQ(s.find("AAA"), std::string::npos) << "slot " << slot << " " << s;
    }
}

class ConjuntoDeClubes : public BaseMestra, public ::testing::WithParamInterface<const char*> {};

TEST_P(ConjuntoDeClubes, ClubsFollowTheRules) {
    std::string cc = GetParam();
    auto rs = d->OpenRecordset("SELECT clube, div, cap_estadio FROM clubes_" + cc);
    EXPECT_EQ(rs.RecordCount(), 54);
    std::set<std::string> chaves;
    std::map<int, std::vector<int>> lugares;
    for (; !rs.Eof(); rs.MoveNext()) {
        auto nome = rs["clube"].texto();
        EXPECT_TRUE(limpo(nome)) << nome;
        EXPECT_LE(caracteres(nome), 20) << nome;
        EXPECT_TRUE(chaves.insert(db::chave_nome(nome)).second) << "repeated: " << nome;
        int cap = rs["cap_estadio"].int32();
        EXPECT_GE(cap, 10001) << nome;
        EXPECT_LE(cap, 100000) << nome;
        lugares[rs["div"].int32()].push_back(cap);
    }
    ASSERT_EQ(lugares.size(), 3u);
    double media[4] = {};
    for (int div = 1; div <= 3; ++div) {
        ASSERT_EQ(lugares[div].size(), 18u) << "division " << div;
        for (int c : lugares[div]) media[div] += c / 18.0;
    }
    EXPECT_GT(media[1], media[2]);
    EXPECT_GT(media[2], media[3]);

    auto taca = d->OpenRecordset("SELECT clube FROM Clubes_Taca_" + cc);
    EXPECT_EQ(taca.RecordCount(), 64);
    std::set<std::string> entrantes;
    int de_fora = 0;
    for (; !taca.Eof(); taca.MoveNext()) {
        auto nome = taca["clube"].texto();
        EXPECT_TRUE(limpo(nome) && caracteres(nome) <= 20) << nome;
        EXPECT_TRUE(entrantes.insert(db::chave_nome(nome)).second) << "repeated entrant: " << nome;
        if (!chaves.count(db::chave_nome(nome))) {
            ++de_fora;
            EXPECT_EQ(d->valor("SELECT count(*) FROM jogadores_" + cc + " WHERE equipa = ?", {nome}).int32(), 0) << nome;
        }
    }
    EXPECT_EQ(de_fora, 10);
    for (const auto& c : chaves) EXPECT_TRUE(entrantes.count(c)) << c << " missing from the cup";
}

TEST_P(ConjuntoDeClubes, SquadsFollowTheRules) {
    std::string cc = GetParam();
    const std::map<int, std::pair<int, int>> faixa{{1, {50, 89}}, {2, {25, 64}}, {3, {10, 49}}};
    auto clubes = d->OpenRecordset("SELECT clube, div FROM clubes_" + cc);
    int total = 0, idade_comum = 0;
    std::set<std::pair<std::string, std::string>> nome_pos;
    for (; !clubes.Eof(); clubes.MoveNext()) {
        auto clube = clubes["clube"].texto();
        auto [fmin, fmax] = faixa.at(clubes["div"].int32());
        auto rs = d->OpenRecordset("SELECT nome, pos, forca, idade, contrato FROM jogadores_" + cc +
                                       " WHERE equipa = ?", {clube});
        int n = rs.RecordCount();
        EXPECT_GE(n, 19) << clube;
        EXPECT_LE(n, 22) << clube;
        std::map<std::string, int> por_pos;
        for (; !rs.Eof(); rs.MoveNext()) {
            auto nome = rs["nome"].texto(), pos = rs["pos"].texto();
            por_pos[pos]++;
            EXPECT_TRUE(limpo(nome) && caracteres(nome) <= 20) << nome;
            EXPECT_TRUE(nome_pos.insert({db::chave_nome(nome), pos}).second) << "repeated: " << nome << " " << pos;
            int f = rs["forca"].int32(), i = rs["idade"].int32(), c = rs["contrato"].int32();
            EXPECT_TRUE(f >= fmin && f <= fmax) << nome << " forca " << f;
            EXPECT_TRUE(i >= 18 && i <= 37) << nome << " idade " << i;
            idade_comum += i >= 19 && i <= 32;
            EXPECT_TRUE(c >= 1 && c <= 5) << nome;
        }
        EXPECT_EQ(por_pos.size(), 4u) << clube << ": only gk, df, md, av";
        EXPECT_GE(por_pos["gk"], 2) << clube;
        EXPECT_GE(por_pos["df"], 5) << clube;
        EXPECT_GE(por_pos["md"], 4) << clube;
        EXPECT_GE(por_pos["av"], 4) << clube;
        total += n;
    }
    EXPECT_EQ(d->valor("SELECT count(*) FROM jogadores_" + cc).int32(), total) << "players of clubs outside the league";
    EXPECT_GE(idade_comum, total * 8 / 10) << "most players are 19 to 32";
    // The whole range of each division is used, not just its middle.
    for (auto [div, f] : faixa) {
        auto lim = d->OpenRecordset("SELECT min(j.forca) AS mn, max(j.forca) AS mx FROM jogadores_" + cc +
                                    " j INNER JOIN clubes_" + cc + " c ON c.clube = j.equipa WHERE c.div = ?", {div});
        EXPECT_LE(lim["mn"].int32(), f.first + 5) << "division " << div;
        EXPECT_GE(lim["mx"].int32(), f.second - 5) << "division " << div;
    }
}

INSTANTIATE_TEST_SUITE_P(Todos, ConjuntoDeClubes, ::testing::ValuesIn(Codigos_Pais.begin(), Codigos_Pais.end()));

} // namespace
