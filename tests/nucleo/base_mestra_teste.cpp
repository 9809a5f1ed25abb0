// Checks every rule of the seed data on the master database the build made.

#include <map>
#include <set>

#include "apoio.h"

using namespace gv;

namespace {

// A name a game can show and its old queries can hold: no refused
// character, no blank at either end, at most 20 characters.
bool bom_nome(const std::string& s) {
    int n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return s.find_first_of("$%*)(|=><\\/'#&;,") == std::string::npos && !s.empty() && s.front() != ' ' && s.back() != ' ' &&
           n <= 20;
}

class BaseMestra : public ::testing::Test {
protected:
    static void SetUpTestSuite() { d = db::Database::abrir(GV_BASE_MESTRA, LIGACAO_JOGO, db::Modo::So_Leitura); }
    static void TearDownTestSuite() { d.reset(); }
    static int contar(const std::string& sql, const db::Parametros& p = {}) { return d->valor(sql, p).int32(); }
    static inline std::unique_ptr<db::Database> d;
};

TEST_F(BaseMestra, HoldsEveryTableWithGameTablesEmpty) {
    EXPECT_THROW(db::Database::abrir(GV_BASE_MESTRA, "", db::Modo::So_Leitura), db::Erro_BD);
    EXPECT_THROW(db::Database::abrir(GV_BASE_MESTRA, ";pwd=0000000", db::Modo::So_Leitura), db::Erro_BD);
    for (const auto& t : tabelas_base()) {
        ASSERT_TRUE(d->tabela_existe(t.nome)) << t.nome;
        EXPECT_TRUE(tipo_tabela(t.nome) != Tipo_Tabela::Jogo || contar("SELECT count(*) FROM \"" + t.nome + "\"") == 0) << t.nome;
    }
    int sementes = 0;
    for (const char* cc : Codigos_Pais)
        for (const auto& t : tabelas_semente(cc)) sementes += d->tabela_existe(t.nome);
    EXPECT_EQ(sementes, 18);
    const int trios = contar("SELECT count(*) FROM arbitros");
    EXPECT_TRUE(trios >= 25 && trios <= 40) << trios;
    EXPECT_EQ(contar("SELECT count(*) FROM arbitros WHERE ap = '' OR aux1 = '' OR aux2 = '' OR ap IS NULL"), 0);
    EXPECT_GE(contar("SELECT count(DISTINCT nome_1) FROM jogadores_all"), 500);
    for (auto rs = d->OpenRecordset("SELECT nome_1 FROM jogadores_all"); !rs.Eof(); rs.MoveNext())
        EXPECT_TRUE(bom_nome(rs["nome_1"].texto())) << rs["nome_1"].texto();
}

// Each ordered pair of slots once, each slot once a matchday, 17 times at
// home, never three home or away matches in a row.
TEST_F(BaseMestra, FixtureTemplateIsADoubleRoundRobinOfEighteenSlots) {
    EXPECT_EQ(d->valor("SELECT (SELECT count(*) FROM jor_aux) || ' ' || count(DISTINCT casa || '-' || fora) FROM jor_aux "
                       "WHERE casa <> fora AND casa BETWEEN 1 AND 18 AND fora BETWEEN 1 AND 18").texto(), "306 306");
    EXPECT_EQ(contar("SELECT count(*) FROM (SELECT jor, s FROM (SELECT jor, casa AS s FROM jor_aux UNION ALL SELECT jor, fora FROM jor_aux) "
                     "WHERE jor BETWEEN 1 AND 34 GROUP BY jor, s HAVING count(*) = 1)"), 34 * 18);
    std::map<int, std::string> sequencia;  // slot -> H/A per matchday
    for (auto rs = d->OpenRecordset("SELECT casa, fora FROM jor_aux ORDER BY jor"); !rs.Eof(); rs.MoveNext()) {
        sequencia[rs["casa"].int32()] += 'H';
        sequencia[rs["fora"].int32()] += 'A';
    }
    for (auto& [slot, s] : sequencia)
        EXPECT_TRUE(std::count(s.begin(), s.end(), 'H') == 17 && s.find("HHH") == std::string::npos && s.find("AAA") == std::string::npos)
            << "slot " << slot << " " << s;
}

class ConjuntoDeClubes : public BaseMestra, public ::testing::WithParamInterface<const char*> {};

TEST_P(ConjuntoDeClubes, ClubsAndSquadsFollowTheRules) {
    const std::string cc = GetParam();
    std::set<std::string> chaves;
    std::map<int, std::vector<int>> lugares;
    for (auto rs = d->OpenRecordset("SELECT clube, div, cap_estadio FROM clubes_" + cc); !rs.Eof(); rs.MoveNext()) {
        const auto nome = rs["clube"].texto();
        EXPECT_TRUE(bom_nome(nome)) << nome;
        EXPECT_TRUE(chaves.insert(db::chave_nome(nome)).second) << "repeated: " << nome;
        const int cap = rs["cap_estadio"].int32();
        EXPECT_TRUE(cap >= 10001 && cap <= 100000) << nome;
        lugares[rs["div"].int32()].push_back(cap);
    }
    EXPECT_EQ(chaves.size(), 54u);
    ASSERT_EQ(lugares.size(), 3u);
    double media[4] = {};
    for (int div = 1; div <= 3; ++div) {
        ASSERT_EQ(lugares[div].size(), 18u) << "division " << div;
        for (int c : lugares[div]) media[div] += c / 18.0;
    }
    EXPECT_TRUE(media[1] > media[2] && media[2] > media[3]);
    std::set<std::string> entrantes;
    int de_fora = 0;
    for (auto taca = d->OpenRecordset("SELECT clube FROM Clubes_Taca_" + cc); !taca.Eof(); taca.MoveNext()) {
        const auto nome = taca["clube"].texto();
        EXPECT_TRUE(bom_nome(nome)) << nome;
        EXPECT_TRUE(entrantes.insert(db::chave_nome(nome)).second) << "repeated entrant: " << nome;
        if (chaves.count(db::chave_nome(nome))) continue;
        ++de_fora;
        EXPECT_EQ(contar("SELECT count(*) FROM jogadores_" + cc + " WHERE equipa = ?", {nome}), 0) << nome;
    }
    EXPECT_EQ(entrantes.size(), 64u);
    EXPECT_EQ(de_fora, 10);

    // The squads: strength by division over its whole range.
    const std::map<int, std::pair<int, int>> faixa{{1, {50, 89}}, {2, {25, 64}}, {3, {10, 49}}};
    int total = 0, idade_comum = 0;
    std::set<std::pair<std::string, std::string>> nome_pos;
    for (auto clubes = d->OpenRecordset("SELECT clube, div FROM clubes_" + cc); !clubes.Eof(); clubes.MoveNext()) {
        const auto clube = clubes["clube"].texto();
        const auto [fmin, fmax] = faixa.at(clubes["div"].int32());
        auto rs = d->OpenRecordset("SELECT nome, pos, forca, idade, contrato FROM jogadores_" + cc + " WHERE equipa = ?", {clube});
        const int n = rs.RecordCount();
        EXPECT_TRUE(n >= 19 && n <= 22) << clube;
        std::map<std::string, int> por_pos;
        for (; !rs.Eof(); rs.MoveNext()) {
            const auto nome = rs["nome"].texto(), pos = rs["pos"].texto();
            por_pos[pos]++;
            EXPECT_TRUE(bom_nome(nome)) << nome;
            EXPECT_TRUE(nome_pos.insert({db::chave_nome(nome), pos}).second) << "repeated: " << nome << " " << pos;
            const int f = rs["forca"].int32(), i = rs["idade"].int32(), c = rs["contrato"].int32();
            EXPECT_TRUE(f >= fmin && f <= fmax && i >= 18 && i <= 37 && c >= 1 && c <= 5) << nome << " " << f << " " << i << " " << c;
            idade_comum += i >= 19 && i <= 32;
        }
        EXPECT_EQ(por_pos.size(), 4u) << clube << ": only gk, df, md, av";
        EXPECT_TRUE(por_pos["gk"] >= 2 && por_pos["df"] >= 5 && por_pos["md"] >= 4 && por_pos["av"] >= 4) << clube;
        total += n;
    }
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores_" + cc), total) << "players of clubs outside the league";
    EXPECT_GE(idade_comum, total * 8 / 10) << "most players are 19 to 32";
    for (auto [div, f] : faixa) {
        auto lim = d->OpenRecordset("SELECT min(j.forca) AS mn, max(j.forca) AS mx FROM jogadores_" + cc + " j INNER JOIN clubes_" + cc +
                                    " c ON c.clube = j.equipa WHERE c.div = ?", {div});
        EXPECT_TRUE(lim["mn"].int32() <= f.first + 5 && lim["mx"].int32() >= f.second - 5) << "the whole range of division " << div;
    }
}

INSTANTIATE_TEST_SUITE_P(Todos, ConjuntoDeClubes, ::testing::ValuesIn(Codigos_Pais.begin(), Codigos_Pais.end()));

} // namespace
