// Recordsets: the rows of a query read at once, walked with the old
// database objects' moves. Updatable recordsets keep each row's rowid and
// write every change straight to the table.

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "platform/db/interno.h"

namespace gv::db {

namespace {

std::string minusculas(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Splits SQL into words and punctuation, skipping quoted text; enough to
// find the FROM clause of a simple query.
std::vector<std::string> palavras(const std::string& sql) {
    std::vector<std::string> r;
    std::size_t i = 0;
    while (i < sql.size()) {
        char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) { ++i; continue; }
        if (c == '\'' || c == '"' || c == '[' || c == '`') {
            char fecho = c == '[' ? ']' : c;
            std::size_t j = i + 1;
            while (j < sql.size() && sql[j] != fecho) ++j;
            r.push_back(sql.substr(i, j + 1 - i));
            i = j + 1;
            continue;
        }
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80) {
            std::size_t j = i;
            while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_' ||
                                      static_cast<unsigned char>(sql[j]) >= 0x80 || sql[j] == '.'))
                ++j;
            r.push_back(sql.substr(i, j - i));
            i = j;
            continue;
        }
        r.push_back(std::string(1, c));
        ++i;
    }
    return r;
}

bool reservada(const std::string& p) {
    static const char* const lista[] = {"where", "order", "group", "inner", "left", "right", "join", "on",
                                        "limit", "union", "having", "cross", "natural", "outer", ",", ";", ")"};
    auto b = minusculas(p);
    return std::any_of(std::begin(lista), std::end(lista), [&](const char* w) { return b == w; });
}

// The name by which the query refers to `tabela` (its alias, or itself);
// empty when the query is not a plain single-level SELECT.
std::string nome_na_consulta(const std::string& sql, const std::string& tabela) {
    auto ps = palavras(sql);
    if (ps.empty() || minusculas(ps[0]) != "select") return {};
    int nivel = 0;
    for (std::size_t i = 1; i < ps.size(); ++i) {
        auto b = minusculas(ps[i]);
        if (b == "(") ++nivel;
        else if (b == ")") --nivel;
        if (nivel != 0) continue;
        if (i == 1 && (b == "distinct" || b == "all")) return {};
        if (b == "group" || b == "union" || b == "distinct") return {};
    }
    nivel = 0;
    for (std::size_t i = 1; i < ps.size(); ++i) {
        auto b = minusculas(ps[i]);
        if (b == "(") ++nivel;
        else if (b == ")") --nivel;
        if (nivel != 0) continue;
        bool antes_tabela = b == "from" || b == "join" || b == ",";
        if (!antes_tabela || i + 1 >= ps.size()) continue;
        std::string t = ps[i + 1];
        if (minusculas(t) != minusculas(tabela)) continue;
        std::size_t k = i + 2;
        if (k < ps.size() && minusculas(ps[k]) == "as") ++k;
        if (k < ps.size() && !reservada(ps[k])) return ps[k];
        return t;
    }
    return {};
}

std::string aspas(const std::string& nome) { return "\"" + nome + "\""; }

} // namespace

const Database::Forma& Database::forma(const std::string& sql, sqlite3_stmt* st) {
    auto it = formas_.find(sql);
    if (it != formas_.end()) return it->second;
    Forma f;
    // Which table the result columns come from decides whether the rows can
    // be written back.
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i)
        if (const char* t = sqlite3_column_table_name(st, i); t && f.tabela.empty()) f.tabela = t;
    const std::string nome = f.tabela.empty() ? std::string() : nome_na_consulta(sql, f.tabela);
    if (!nome.empty()) {
        // "SELECT ..." becomes "SELECT t.rowid, ...".
        auto p0 = sql.find_first_not_of(" \t\r\n");
        std::string com_id = sql.substr(0, p0 + 6) + " " + aspas(nome) + ".rowid AS gv_rowid__," + sql.substr(p0 + 6);
        try {
            preparar(com_id);
            f.leitura = std::move(com_id);
        } catch (const Erro_BD&) {
            f.tabela.clear();
        }
    } else {
        f.tabela.clear();
    }
    for (int i = 0; i < n; ++i) {
        f.nomes.push_back(sqlite3_column_name(st, i));
        const char* t = sqlite3_column_table_name(st, i);
        const char* c = sqlite3_column_origin_name(st, i);
        bool da_base = t && c && !f.tabela.empty() && minusculas(t) == minusculas(f.tabela);
        f.colunas_base.push_back(da_base ? c : "");
    }
    return formas_.emplace(sql, std::move(f)).first->second;
}

Recordset Database::OpenRecordset(const std::string& sql, const Parametros& p) {
    Recordset rs;
    rs.db_ = this;
    sqlite3_stmt* st = preparar(sql);
    const Forma& f = forma(sql, st);
    const int n = static_cast<int>(f.nomes.size());
    sqlite3_stmt* leitura = f.leitura.empty() ? st : preparar(f.leitura);
    const int desvio = f.leitura.empty() ? 0 : 1;
    rs.tabela_ = f.tabela;
    rs.nomes_ = f.nomes;
    rs.colunas_base_ = f.colunas_base;
    sqlite3_reset(leitura);
    Em_Uso uso{leitura};
    ligar_valores(leitura, p, *this);
    int rc;
    while ((rc = sqlite3_step(leitura)) == SQLITE_ROW) {
        std::vector<Valor> linha;
        linha.reserve(n);
        for (int i = 0; i < n; ++i) linha.push_back(ler_coluna(leitura, i + desvio));
        rs.linhas_.push_back(std::move(linha));
        rs.rowids_.push_back(desvio ? sqlite3_column_int64(leitura, 0) : 0);
    }
    if (rc != SQLITE_DONE) falhar(rc, sql);
    rs.apagada_.assign(rs.linhas_.size(), 0);
    rs.vivas_ = static_cast<int>(rs.linhas_.size());
    rs.pos_ = 0;
    return rs;
}

bool Recordset::Eof() const { return vivas_ == 0 || pos_ >= static_cast<int>(linhas_.size()); }
bool Recordset::Bof() const { return vivas_ == 0 || pos_ < 0; }
int Recordset::RecordCount() const { return vivas_; }

void Recordset::saltar_apagados(int passo) {
    int n = static_cast<int>(linhas_.size());
    while (pos_ >= 0 && pos_ < n && apagada_[pos_]) pos_ += passo;
}

void Recordset::MoveFirst() {
    pos_ = 0;
    saltar_apagados(1);
}

void Recordset::MoveLast() {
    pos_ = static_cast<int>(linhas_.size()) - 1;
    saltar_apagados(-1);
    if (pos_ < 0) pos_ = static_cast<int>(linhas_.size());
}

void Recordset::MoveNext() {
    if (pos_ >= static_cast<int>(linhas_.size())) throw Erro_BD(ERRO_SEM_REGISTO, "Não há registo actual");
    ++pos_;
    saltar_apagados(1);
}

void Recordset::MovePrevious() {
    if (pos_ < 0) throw Erro_BD(ERRO_SEM_REGISTO, "Não há registo actual");
    --pos_;
    saltar_apagados(-1);
}

void Recordset::Move(int n) {
    int total = static_cast<int>(linhas_.size());
    for (int k = 0; k < n && pos_ < total; ++k) {
        ++pos_;
        saltar_apagados(1);
    }
    for (int k = 0; k > n && pos_ >= 0; --k) {
        --pos_;
        saltar_apagados(-1);
    }
}

void Recordset::exigir_registo() const {
    if (pos_ < 0 || pos_ >= static_cast<int>(linhas_.size()) || apagada_[pos_])
        throw Erro_BD(ERRO_SEM_REGISTO, "Não há registo actual");
}

int Recordset::indice_campo(const std::string& campo) const {
    // A handful of columns: compared in place, case aside.
    for (std::size_t i = 0; i < nomes_.size(); ++i) {
        const std::string& n = nomes_[i];
        if (n.size() == campo.size() &&
            std::equal(n.begin(), n.end(), campo.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            return static_cast<int>(i);
    }
    return -1;
}

const Valor& Recordset::operator[](const std::string& campo) const {
    int i = indice_campo(campo);
    if (i < 0) throw Erro_BD(ERRO_CAMPO, "O campo não existe: " + campo);
    return Recordset::campo(i);
}

const Valor& Recordset::campo(int i) const {
    exigir_registo();
    if (i < 0 || i >= n_campos()) throw Erro_BD(ERRO_CAMPO, "O campo não existe: " + std::to_string(i));
    return linhas_[pos_][i];
}

long long Recordset::rowid() const {
    exigir_registo();
    return rowids_[pos_];
}

void Recordset::AddNew() {
    if (!actualizavel()) throw Erro_BD(ERRO_NAO_ACTUALIZAVEL, "Os registos não podem ser alterados");
    edicao_ = Edicao::Nova;
    pendentes_.clear();
}

void Recordset::Edit() {
    if (!actualizavel()) throw Erro_BD(ERRO_NAO_ACTUALIZAVEL, "Os registos não podem ser alterados");
    exigir_registo();
    edicao_ = Edicao::Alterar;
    pendentes_.clear();
}

void Recordset::set(const std::string& campo, const Valor& v) {
    if (edicao_ == Edicao::Nenhuma)
        throw Erro_BD(ERRO_NAO_ACTUALIZAVEL, "Falta AddNew ou Edit antes de alterar o campo " + campo);
    int i = indice_campo(campo);
    std::string coluna;
    if (i >= 0) {
        coluna = colunas_base_[i];
        if (coluna.empty()) throw Erro_BD(ERRO_NAO_ACTUALIZAVEL, "O campo não pode ser alterado: " + campo);
    } else {
        coluna = campo;  // a column of the table the query did not select
    }
    for (auto& [c, val] : pendentes_) {
        if (minusculas(c) == minusculas(coluna)) {
            val = v;
            return;
        }
    }
    pendentes_.emplace_back(coluna, v);
}

void Recordset::CancelUpdate() {
    edicao_ = Edicao::Nenhuma;
    pendentes_.clear();
}

void Recordset::Update() {
    if (edicao_ == Edicao::Nenhuma) throw Erro_BD(ERRO_NAO_ACTUALIZAVEL, "Falta AddNew ou Edit antes de Update");
    Parametros p;
    std::string sql;
    if (edicao_ == Edicao::Alterar) {
        exigir_registo();
        if (!pendentes_.empty()) {
            sql = "UPDATE " + aspas(tabela_) + " SET ";
            for (std::size_t k = 0; k < pendentes_.size(); ++k) {
                sql += (k ? ", " : "") + aspas(pendentes_[k].first) + " = ?";
                p.push_back(pendentes_[k].second);
            }
            sql += " WHERE rowid = ?";
            p.push_back(Valor(rowids_[pos_]));
            db_->Execute(sql, p);
            for (auto& [c, v] : pendentes_)
                for (int i = 0; i < n_campos(); ++i)
                    if (minusculas(colunas_base_[i]) == minusculas(c)) linhas_[pos_][i] = v;
        }
    } else {
        if (pendentes_.empty()) {
            sql = "INSERT INTO " + aspas(tabela_) + " DEFAULT VALUES";
        } else {
            sql = "INSERT INTO " + aspas(tabela_) + " (";
            std::string valores;
            for (std::size_t k = 0; k < pendentes_.size(); ++k) {
                sql += (k ? ", " : "") + aspas(pendentes_[k].first);
                valores += k ? ", ?" : "?";
                p.push_back(pendentes_[k].second);
            }
            sql += ") VALUES (" + valores + ")";
        }
        db_->Execute(sql, p);
        long long id = db_->ultimo_rowid();
        // The new row joins the end of the recordset as the table holds it.
        std::vector<Valor> linha(n_campos());
        auto lida = db_->OpenRecordset("SELECT * FROM " + aspas(tabela_) + " WHERE rowid = ?", {Valor(id)});
        if (!lida.Eof())
            for (int i = 0; i < n_campos(); ++i)
                if (!colunas_base_[i].empty() && lida.indice_campo(colunas_base_[i]) >= 0)
                    linha[i] = lida[colunas_base_[i]];
        linhas_.push_back(std::move(linha));
        rowids_.push_back(id);
        apagada_.push_back(0);
        ++vivas_;
        // A recordset that was at its end stays there.
        if (pos_ == static_cast<int>(linhas_.size()) - 1) ++pos_;
    }
    edicao_ = Edicao::Nenhuma;
    pendentes_.clear();
}

void Recordset::Delete() {
    if (!actualizavel()) throw Erro_BD(ERRO_NAO_ACTUALIZAVEL, "Os registos não podem ser alterados");
    exigir_registo();
    db_->Execute("DELETE FROM " + aspas(tabela_) + " WHERE rowid = ?", {Valor(rowids_[pos_])});
    apagada_[pos_] = 1;
    --vivas_;
}

void Recordset::Close() {
    linhas_.clear();
    rowids_.clear();
    apagada_.clear();
    vivas_ = 0;
    pos_ = 0;
    tabela_.clear();
    db_ = nullptr;
}

} // namespace gv::db
