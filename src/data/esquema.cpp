#include "data/esquema.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

namespace gv {

namespace {

using T = Tipo_Coluna;

std::string minusculas(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const std::vector<Coluna> colunas_jogadores{
    {"nome", T::Texto},        {"equipa", T::Texto},     {"pos", T::Texto},
    {"forca", T::Inteiro},     {"idade", T::Inteiro},    {"preco", T::Longo},
    {"ordenado", T::Longo},    {"contrato", T::Inteiro}, {"golos", T::Inteiro},
    {"joga", T::Inteiro},      {"sit", T::Inteiro},      {"lesionado", T::Inteiro},
    {"lesionado_jor", T::Inteiro}, {"emprestado", T::Inteiro}, {"clube_origem", T::Texto, "'0'"},
};

const std::vector<Coluna> colunas_clubes{
    {"clube", T::Texto},  {"div", T::Inteiro},   {"pontos", T::Inteiro}, {"jogos", T::Inteiro},
    {"v", T::Inteiro},    {"e", T::Inteiro},     {"d", T::Inteiro},      {"g_mar", T::Inteiro},
    {"g_suf", T::Inteiro}, {"taca", T::Texto},   {"cap_estadio", T::Longo},
};

const std::vector<Coluna> colunas_clubes_taca{{"clube", T::Texto}};

std::vector<Tabela> construir() {
    return {
        {"jogadores", colunas_jogadores},
        {"clubes", colunas_clubes},
        {"principal",
         {{"nome", T::Texto},       {"equipa", T::Texto},      {"Jornada", T::Inteiro},
          {"Epoca", T::Inteiro},    {"taca", T::Inteiro},      {"contrato", T::Inteiro},
          {"T_contrato", T::Inteiro}, {"cont", T::Inteiro},    {"sit", T::Inteiro},
          {"v", T::Inteiro},        {"e", T::Inteiro},         {"d", T::Inteiro},
          {"gc", T::Inteiro},       {"pc", T::Inteiro},        {"d_total", T::Longo},
          {"d_in", T::Longo},       {"d_out", T::Longo},       {"d_b_divida", T::Longo},
          {"d_b_mensal", T::Longo}, {"d_emp_in", T::Longo},    {"d_emp_out", T::Longo},
          {"d_venda_in", T::Longo}, {"d_venda_out", T::Longo}, {"d_Ord", T::Longo},
          {"d_estadio", T::Longo}}},
        {"jogos",
         {{"jor", T::Inteiro}, {"casa", T::Texto}, {"fora", T::Texto}, {"div", T::Inteiro}, {"result", T::Texto}}},
        {"jogos_taca", {{"casa", T::Texto}, {"fora", T::Texto}, {"resul", T::Texto}}},
        {"clubes_taca", colunas_clubes_taca},
        {"clubes_taca_qualif", colunas_clubes_taca},
        {"transferencias",
         {{"Epoca", T::Inteiro}, {"Jornada", T::Inteiro}, {"pos", T::Texto}, {"nome", T::Texto},
          {"forca", T::Inteiro}, {"Tipo", T::Texto}, {"valor", T::Longo}, {"idade", T::Inteiro}}},
        {"transferencias_clubes",
         {{"jornada", T::Inteiro}, {"pos", T::Texto}, {"nome", T::Texto}, {"forca", T::Inteiro},
          {"tipo", T::Texto}, {"valor", T::Longo}, {"idade", T::Inteiro}}},
        {"assistencias",
         {{"Jornada", T::Inteiro}, {"Jogo", T::Texto}, {"Tipo", T::Texto}, {"assistencia", T::Longo},
          {"receita", T::Longo}}},
        {"Historico_Jornadas", {{"jor", T::Inteiro}, {"clube", T::Texto}, {"pontos", T::Inteiro}, {"pos", T::Inteiro}}},
        {"historico_treinador",
         {{"ano", T::Inteiro},   {"clube", T::Texto},   {"div", T::Inteiro},   {"div_1", T::Inteiro},
          {"div_2", T::Inteiro}, {"div_3", T::Inteiro}, {"v", T::Inteiro},     {"e", T::Inteiro},
          {"d", T::Inteiro},     {"taca", T::Inteiro},  {"g_mar", T::Inteiro}, {"g_suf", T::Inteiro},
          {"pontos", T::Inteiro}, {"Class", T::Inteiro}, {"d_in", T::Longo},   {"d_out", T::Longo}}},
        {"historico_clube",
         {{"clube", T::Texto},        {"pontos_total", T::Inteiro}, {"pontos", T::Inteiro},
          {"v_total", T::Inteiro},    {"e_total", T::Inteiro},      {"d_total", T::Inteiro},
          {"g_mar_total", T::Inteiro}, {"g_suf_total", T::Inteiro}, {"div_1", T::Inteiro},
          {"div_2", T::Inteiro},      {"div_3", T::Inteiro},        {"taca", T::Inteiro}}},
        {"historico_equipas_epoca",
         {{"clube", T::Texto},   {"clas", T::Inteiro},    {"div", T::Inteiro},     {"ano", T::Inteiro},
          {"pontos", T::Inteiro}, {"v_total", T::Inteiro}, {"e_total", T::Inteiro}, {"d_total", T::Inteiro},
          {"g_mar", T::Texto},   {"div_1", T::Inteiro},   {"div_2", T::Inteiro},   {"div_3", T::Inteiro},
          {"taca", T::Inteiro}}},
        {"Melhores_Marcadores_Sempre",
         {{"nome", T::Texto}, {"equipa", T::Texto}, {"pos", T::Texto}, {"idade", T::Inteiro},
          {"golos", T::Inteiro}, {"sit", T::Inteiro}, {"ano", T::Inteiro}}},
        {"ultimos_venc",
         {{"Epoca", T::Inteiro}, {"equipa", T::Texto}, {"Tipo", T::Texto}, {"nome", T::Texto}, {"num", T::Longo}}},
        {"versao", {{"versao", T::Inteiro}, {"rev", T::Inteiro}}},
        {"arbitros", {{"ap", T::Texto}, {"aux1", T::Texto}, {"aux2", T::Texto}}},
        {"jogadores_all", {{"nome_1", T::Texto}}},
        {"jor_aux", {{"jor", T::Inteiro}, {"casa", T::Inteiro}, {"fora", T::Inteiro}}},
    };
}

// Indexes the round, the desk and the lists lean on.
const char* const indices[] = {
    // A club's players, and those of one line: the players' only index.
    // Nothing that changes every round is in it (the strength grows, the
    // line-ups are picked and cleared), and a club's players are few to
    // sort or filter further.
    "CREATE INDEX IF NOT EXISTS ix_jogadores_linha ON jogadores (equipa, pos)",
    "CREATE INDEX IF NOT EXISTS ix_clubes_clube ON clubes (clube)",
    "CREATE INDEX IF NOT EXISTS ix_clubes_div ON clubes (div)",
    "CREATE INDEX IF NOT EXISTS ix_jogos_jor ON jogos (jor, div)",
    "CREATE INDEX IF NOT EXISTS ix_jogos_casa ON jogos (casa)",
    "CREATE INDEX IF NOT EXISTS ix_jogos_fora ON jogos (fora)",
    "CREATE INDEX IF NOT EXISTS ix_historico_jornadas ON Historico_Jornadas (clube, jor)",
    // A scorer's rows by his name, club, position and age, and whether he
    // still plays: the goals and the tidy-up find them without a sort.
    "CREATE INDEX IF NOT EXISTS ix_marcadores_jogador ON Melhores_Marcadores_Sempre (nome, equipa, pos, idade, sit)",
    "CREATE INDEX IF NOT EXISTS ix_clubes_taca_qualif ON clubes_taca_qualif (clube)",
};

} // namespace

const std::vector<Tabela>& tabelas_base() {
    static const std::vector<Tabela> t = construir();
    return t;
}

Tipo_Tabela tipo_tabela(const std::string& nome) {
    auto b = minusculas(nome);
    if (b == "arbitros" || b == "jogadores_all") return Tipo_Tabela::Fixa;
    if (b == "jor_aux") return Tipo_Tabela::Modelo;
    for (const char* cc : Codigos_Pais) {
        std::string s(cc);
        if (b == "clubes_" + s || b == "clubes_taca_" + s || b == "jogadores_" + s) return Tipo_Tabela::Semente;
    }
    return Tipo_Tabela::Jogo;
}

std::vector<Tabela> tabelas_semente(std::string_view cc) {
    std::string s(cc);
    return {{"clubes_" + s, colunas_clubes}, {"Clubes_Taca_" + s, colunas_clubes_taca}, {"jogadores_" + s, colunas_jogadores}};
}

const Tabela& tabela(const std::string& nome) {
    auto b = minusculas(nome);
    for (const auto& t : tabelas_base())
        if (minusculas(t.nome) == b) return t;
    throw std::out_of_range("tabela desconhecida: " + nome);
}

std::string sql_criar_tabela(const Tabela& t) {
    std::string sql = "CREATE TABLE \"" + t.nome + "\" (";
    for (std::size_t i = 0; i < t.colunas.size(); ++i) {
        const Coluna& c = t.colunas[i];
        sql += (i ? ", " : "") + std::string("\"") + c.nome + "\" ";
        switch (c.tipo) {
        case T::Texto: sql += "TEXT COLLATE NOME"; break;
        case T::Inteiro:
        case T::Longo: sql += "INTEGER DEFAULT 0"; break;
        case T::Duplo: sql += "REAL DEFAULT 0"; break;
        }
        if (c.defeito) sql += std::string(" DEFAULT ") + c.defeito;
    }
    return sql + ")";
}

namespace {

// Indexes of earlier files that gave way: the scorers' narrower one, and
// the players' ones that held their strength or their line-up mark.
constexpr const char* Velhos[] = {"ix_marcadores", "ix_jogadores_equipa_pos", "ix_jogadores_equipa_joga"};

// The name an index statement makes.
std::string nome_indice(std::string_view sql) {
    constexpr std::string_view antes = "IF NOT EXISTS ";
    const auto inicio = sql.find(antes) + antes.size();
    return std::string(sql.substr(inicio, sql.find(' ', inicio) - inicio));
}

} // namespace

void criar_indices(db::Database& d) {
    for (const char* velho : Velhos) d.Execute(std::string("DROP INDEX IF EXISTS ") + velho);
    for (const char* i : indices) d.Execute(i);
}

bool indices_em_dia(db::Database& d) {
    std::set<std::string> feitos;
    d.percorrer("SELECT name FROM sqlite_master WHERE type = 'index'", {},
                [&](const db::Linha_Lida& l) { feitos.insert(l.texto(0)); });
    for (const char* velho : Velhos)
        if (feitos.count(velho)) return false;
    for (const char* i : indices)
        if (!feitos.count(nome_indice(i))) return false;
    return true;
}

void criar_esquema(db::Database& d) {
    for (const auto& t : tabelas_base()) d.Execute(sql_criar_tabela(t));
    criar_indices(d);
}

void criar_tabelas_semente(db::Database& d, std::string_view cc) {
    for (const auto& t : tabelas_semente(cc)) d.Execute(sql_criar_tabela(t));
}

int fator_faixa_preco(int forca) {
    if (forca <= 35) return 300;
    if (forca <= 60) return 400;
    if (forca <= 75) return 650;
    if (forca <= 100) return 900;
    return 1500;
}

long long preco_faixa(int idade, int forca) {
    return static_cast<long long>(40 - idade) * forca * fator_faixa_preco(forca);
}

long long ordenado_de(long long preco) {
    // int() rounds down, also below zero.
    return preco >= 0 ? preco / 100 : -((-preco + 99) / 100);
}

void aplicar_faixas_preco(db::Database& d) {
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 300 WHERE forca <= 35");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 400 WHERE forca <= 60 AND forca > 35");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 650 WHERE forca <= 75 AND forca > 60");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 900 WHERE forca <= 100 AND forca > 75");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 1500 WHERE forca > 100");
}

} // namespace gv
