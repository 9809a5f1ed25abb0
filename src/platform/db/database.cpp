#include "platform/db/database.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include "platform/db/interno.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>

namespace fs = std::filesystem;

namespace gv::db {

// ---------------------------------------------------------------- Valor

long long Valor::inteiro() const {
    switch (tipo_) {
    case Tipo::Nulo: return 0;
    case Tipo::Inteiro: return i_;
    case Tipo::Real: return static_cast<long long>(std::nearbyint(r_));  // halves to even
    case Tipo::Texto: return static_cast<long long>(std::nearbyint(std::strtod(s_.c_str(), nullptr)));
    }
    return 0;
}

int Valor::int32() const {
    long long v = inteiro();
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

double Valor::real() const {
    switch (tipo_) {
    case Tipo::Nulo: return 0;
    case Tipo::Inteiro: return static_cast<double>(i_);
    case Tipo::Real: return r_;
    case Tipo::Texto: return std::strtod(s_.c_str(), nullptr);
    }
    return 0;
}

std::string Valor::texto() const {
    switch (tipo_) {
    case Tipo::Nulo: return {};
    case Tipo::Inteiro: return std::to_string(i_);
    case Tipo::Real: {
        if (r_ == std::floor(r_) && std::fabs(r_) < 1e15) return std::to_string(static_cast<long long>(r_));
        char b[64];
        std::snprintf(b, sizeof b, "%.15g", r_);
        return b;
    }
    case Tipo::Texto: return s_;
    }
    return {};
}

bool Valor::operator==(const Valor& o) const {
    if (tipo_ != o.tipo_) {
        if ((tipo_ == Tipo::Inteiro || tipo_ == Tipo::Real) && (o.tipo_ == Tipo::Inteiro || o.tipo_ == Tipo::Real))
            return real() == o.real();
        return false;
    }
    switch (tipo_) {
    case Tipo::Nulo: return true;
    case Tipo::Inteiro: return i_ == o.i_;
    case Tipo::Real: return r_ == o.r_;
    case Tipo::Texto: return s_ == o.s_;
    }
    return false;
}

// ---------------------------------------------------------------- errors

Erro_BD::Erro_BD(int numero, std::string descricao, Tipo tipo, std::string ficheiro)
    : std::runtime_error(descricao), numero_(numero), descricao_(std::move(descricao)), tipo_(tipo),
      ficheiro_(std::move(ficheiro)) {}

Erro_BD::Tipo tipo_do_codigo(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_NOTADB: return Erro_BD::Tipo::Nao_E_Base;
    case SQLITE_CORRUPT: return Erro_BD::Tipo::Danificada;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Erro_BD::Tipo::Bloqueada;
    case SQLITE_READONLY: return Erro_BD::Tipo::So_Leitura;
    // An existing file the engine cannot open (its journal cannot be made
    // beside it, say): the access is refused.
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return Erro_BD::Tipo::Sem_Permissao;
    case SQLITE_FULL: return Erro_BD::Tipo::Disco_Cheio;
    case SQLITE_IOERR: return Erro_BD::Tipo::Erro_ES;
    default: return Erro_BD::Tipo::Geral;
    }
}

Erro_BD::Tipo tipo_do_sistema(const std::error_code& ec) {
    if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large) return Erro_BD::Tipo::Disco_Cheio;
    if (ec == std::errc::read_only_file_system) return Erro_BD::Tipo::So_Leitura;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return Erro_BD::Tipo::Sem_Permissao;
    if (ec == std::errc::io_error) return Erro_BD::Tipo::Erro_ES;
    if (ec == std::errc::no_such_file_or_directory) return Erro_BD::Tipo::Sem_Ficheiro;
    if (ec == std::errc::device_or_resource_busy || ec == std::errc::text_file_busy) return Erro_BD::Tipo::Bloqueada;
    return Erro_BD::Tipo::Geral;
}

std::string senha_da_ligacao(const std::string& ligacao) {
    std::string baixa;
    for (char c : ligacao) baixa += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto p = baixa.find("pwd=");
    if (p == std::string::npos) return {};
    auto fim = ligacao.find(';', p + 4);
    return ligacao.substr(p + 4, fim == std::string::npos ? std::string::npos : fim - (p + 4));
}

namespace {

int colacao_nome(void*, int na, const void* a, int nb, const void* b) {
    return comparar_nomes(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
                          std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
}

void ligar(sqlite3_stmt* st, const Parametros& p, Database& d) {
    int n = sqlite3_bind_parameter_count(st);
    if (n != static_cast<int>(p.size()))
        throw Erro_BD(SQLITE_RANGE, "A instrução pede " + std::to_string(n) + " valores e recebeu " +
                                        std::to_string(p.size()) + ": " + sqlite3_sql(st));
    for (int i = 0; i < n; ++i) {
        const Valor& v = p[i];
        int rc = SQLITE_OK;
        switch (v.tipo()) {
        case Valor::Tipo::Nulo: rc = sqlite3_bind_null(st, i + 1); break;
        case Valor::Tipo::Inteiro: rc = sqlite3_bind_int64(st, i + 1, v.inteiro()); break;
        case Valor::Tipo::Real: rc = sqlite3_bind_double(st, i + 1, v.real()); break;
        case Valor::Tipo::Texto: {
            const std::string s = v.texto();
            rc = sqlite3_bind_text(st, i + 1, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK) d.falhar(rc);
    }
}

// Resets a cached statement when the scope ends, however it ends.
struct Uso {
    sqlite3_stmt* st;
    ~Uso() {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};

} // namespace

Valor ler_coluna(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return Valor(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return Valor(sqlite3_column_double(st, i));
    case SQLITE_NULL: return Valor();
    default: {
        auto t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        return Valor(std::string(t ? t : "", sqlite3_column_bytes(st, i)));
    }
    }
}

void ligar_valores(sqlite3_stmt* st, const Parametros& p, Database& d) { ligar(st, p, d); }

namespace {

// A failure nobody is waiting for (a checkpoint, a mode, a close) goes to
// the error log, as the game's own failures do.
void registar(int rc, const std::string& o_que, sqlite3* db) {
    std::fprintf(stderr, "golvantario: erro %d: %s (%s)\n", db ? sqlite3_extended_errcode(db) : rc,
                 db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), o_que.c_str());
}

bool log_com_conteudo(const std::string& caminho) {
    std::error_code ec;
    return fs::file_size(caminho + "-wal", ec) > 0 && !ec;
}

} // namespace

// ---------------------------------------------------------------- Database

Database::~Database() { Close(); }

int& Database::espera_bloqueio_ms() {
    static int ms = 1000;
    return ms;
}

bool Database::Close() {
    for (auto& [_, st] : cache_) sqlite3_finalize(st);
    cache_.clear();
    formas_.clear();
    funcoes_.clear();
    bool inteiro = true;
    if (db_) {
        if (transaccoes_ > 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        transaccoes_ = 0;
        desfeita_.reset();
        // Closed as it was found: with the rollback journal, no log beside it.
        const bool wal = wal_;
        if (wal_) {
            const int rc = sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK) registar(rc, "journal_mode=DELETE", db_);
        }
        wal_ = false;
        const int rc = sqlite3_close_v2(db_);
        if (rc != SQLITE_OK) registar(rc, "close", nullptr);
        db_ = nullptr;
        // What the log still holds is part of the game the file lacks.
        inteiro = !(wal && modo_ == Modo::Leitura_Escrita && log_com_conteudo(caminho_));
    }
    if (!pasta_copia_.empty()) {
        std::error_code ec;
        fs::remove_all(pasta_copia_, ec);
        pasta_copia_.clear();
    }
    return inteiro;
}

void Database::falhar(int rc, const std::string& contexto) const {
    std::string d = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    if (!contexto.empty()) d += " (" + contexto + ")";
    int numero = db_ ? sqlite3_extended_errcode(db_) : rc;
    Erro_BD erro(numero, d, tipo_do_codigo(numero));
    // An I/O error, a full disk, no memory or an interrupt can make the
    // engine undo the whole transaction: this failure is then its cause.
    if (transaccoes_ > 0 && !desfeita_ && db_ && sqlite3_get_autocommit(db_)) desfeita_ = erro;
    throw erro;
}

bool Database::desfeita() const { return transaccoes_ > 0 && (desfeita_ || (db_ && sqlite3_get_autocommit(db_))); }

void Database::vigiar() {
    if (!desfeita()) return;
    // A failure caught and passed over left the engine without the
    // transaction; whatever comes next must not be written on its own.
    if (!desfeita_)
        desfeita_.emplace(SQLITE_ABORT_ROLLBACK, "O motor desfez a transacção aberta", Erro_BD::Tipo::Geral);
    throw *desfeita_;
}

namespace {

// How this engine turns a password into a key: its rounds and hash.
struct Derivacao {
    int voltas = 0;
    const EVP_MD* hash = nullptr;
};

const Derivacao& derivacao() {
    static const Derivacao d = [] {
        Derivacao r;
        sqlite3* m = nullptr;
        if (sqlite3_open(":memory:", &m) == SQLITE_OK) {
            auto ler = [m](const char* sql) {
                std::string v;
                sqlite3_stmt* st = nullptr;
                if (sqlite3_prepare_v2(m, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW &&
                    sqlite3_column_text(st, 0))
                    v = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
                sqlite3_finalize(st);
                return v;
            };
            const std::string voltas = ler("PRAGMA cipher_default_kdf_iter");
            const std::string algoritmo = ler("PRAGMA cipher_default_kdf_algorithm");
            r.voltas = voltas.empty() ? 0 : std::atoi(voltas.c_str());
            r.hash = algoritmo.empty() || algoritmo.find("SHA1") != std::string::npos ? EVP_sha1()
                     : algoritmo.find("SHA256") != std::string::npos                  ? EVP_sha256()
                     : algoritmo.find("SHA512") != std::string::npos                  ? EVP_sha512()
                                                                                      : nullptr;
        }
        sqlite3_close(m);
        return r;
    }();
    return d;
}

} // namespace

int Database::derivacoes_ = 0;
bool Database::derivacao_provada_ = false;

namespace {

// The salt a file of the engine begins with.
constexpr std::size_t Tamanho_Sal = 16;

std::string hexadecimal(const unsigned char* b, std::size_t n) {
    static const char hex[] = "0123456789ABCDEF";
    std::string r;
    r.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        r += hex[b[i] >> 4];
        r += hex[b[i] & 0xF];
    }
    return r;
}

} // namespace

// The raw key ("x'...'") for this password and the salt the file begins
// with, derived as the engine would; empty when the file has no salt to
// read or the engine's way is not known.
std::string Database::chave_guardada(const std::string& senha, const std::string& caminho) {
    unsigned char sal[Tamanho_Sal];
    std::FILE* f = std::fopen(caminho.c_str(), "rb");
    if (!f) return {};
    const std::size_t lidos = std::fread(sal, 1, Tamanho_Sal, f);
    std::fclose(f);
    if (lidos != Tamanho_Sal) return {};
    return chave_do_sal(senha, sal);
}

// The raw key for this password and salt, kept for the process: a file's
// copies share its salt.
std::string Database::chave_do_sal(const std::string& senha, const unsigned char* sal) {
    constexpr std::size_t Chave = 32;
    const Derivacao& k = derivacao();
    if (k.voltas <= 0 || !k.hash) return {};
    static std::map<std::string, std::string> guardadas;
    std::string onde = senha;
    onde.push_back('\0');
    onde.append(reinterpret_cast<const char*>(sal), Tamanho_Sal);
    auto it = guardadas.find(onde);
    if (it != guardadas.end()) return it->second;
    unsigned char chave[Chave];
    ++derivacoes_;
    if (PKCS5_PBKDF2_HMAC(senha.data(), static_cast<int>(senha.size()), sal, Tamanho_Sal, k.voltas, k.hash, Chave,
                          chave) != 1)
        return {};
    return guardadas.emplace(std::move(onde), "x'" + hexadecimal(chave, Chave) + "'").first->second;
}

void Database::configurar(const std::string& ligacao) {
    std::string senha = senha_da_ligacao(ligacao);
    if (!senha.empty()) {
        // The key of a file already made is derived here once per password
        // and salt, and handed over whole: opening the same file again, or a
        // copy of it, costs no second derivation.
        const std::string chave = chave_com_passe_ ? std::string() : chave_guardada(senha, caminho_);
        chave_derivada_ = !chave.empty();
        const std::string& dada = chave_derivada_ ? chave : senha;
        int rc = sqlite3_key(db_, dada.data(), static_cast<int>(dada.size()));
        if (rc != SQLITE_OK) falhar(rc);
        const std::string pagina = "PRAGMA cipher_page_size = " + std::to_string(pagina_);
        rc = sqlite3_exec(db_, pagina.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) falhar(rc);
    }
    sqlite3_create_collation_v2(db_, "NOME", SQLITE_UTF8, nullptr, colacao_nome, nullptr);
    sqlite3_busy_timeout(db_, espera_bloqueio_ms());
}

namespace {

// The engine is set up once, before its first connection: each connection
// is used by one thread at a time, and no memory statistics are kept, so
// no statement pays for locks it never needs.
void preparar_motor() {
    static const bool feito = [] {
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return sqlite3_initialize() == SQLITE_OK;
    }();
    (void)feito;
}

} // namespace

std::unique_ptr<Database> Database::abrir(const std::string& caminho, const std::string& ligacao, Modo modo) {
    preparar_motor();
    std::error_code ec;
    if (!fs::is_regular_file(caminho, ec))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + caminho, Erro_BD::Tipo::Sem_Ficheiro);
    std::unique_ptr<Database> d(new Database());
    d->caminho_ = caminho;
    d->modo_ = modo;
    // CREATE lets an attached compaction target be made; the file itself
    // was checked to exist above.
    const int flags = modo == Modo::So_Leitura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    // Reading the schema is what proves the file is one of ours with the
    // right password and page size; nothing is written by it.
    auto tentar = [&](int pagina, bool com_passe) {
        if (d->db_) sqlite3_close_v2(d->db_);
        d->db_ = nullptr;
        const int aberta = sqlite3_open_v2(caminho.c_str(), &d->db_, flags, nullptr);
        if (aberta != SQLITE_OK) d->falhar(aberta);
        d->pagina_ = pagina;
        d->chave_com_passe_ = com_passe;
        d->configurar(ligacao);
        return sqlite3_exec(d->db_, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    };
    auto recusada = [](int rc) { return (rc & 0xFF) == SQLITE_NOTADB; };
    // A file made before pages grew has the old size; one whose length is
    // no whole number of new pages can only be such a file.
    const auto bytes = fs::file_size(caminho, ec);
    std::vector<int> paginas{Pagina_Antiga};
    if (ec || bytes % Pagina_Nova == 0) paginas.insert(paginas.begin(), Pagina_Nova);
    int rc = SQLITE_NOTADB;
    for (int pagina : paginas)
        if (!recusada(rc = tentar(pagina, false))) break;
    // Until a key derived here has opened a file, a refusal may be ours:
    // the engine is asked again with the password itself.
    if (recusada(rc) && d->chave_derivada_ && !derivacao_provada_) {
        for (int pagina : paginas)
            if (!recusada(rc = tentar(pagina, true))) break;
    } else if (rc == SQLITE_OK && d->chave_derivada_) {
        derivacao_provada_ = true;
    }
    if ((rc & 0xFF) == SQLITE_NOTADB)
        throw Erro_BD(rc, "O ficheiro não é uma base de dados do jogo, ou a senha está errada: " + caminho,
                      Erro_BD::Tipo::Nao_E_Base);
    if (rc != SQLITE_OK) d->falhar(rc);
    if (modo == Modo::Leitura_Escrita) {
        if (sqlite3_db_readonly(d->db_, "main") == 1)
            throw Erro_BD(SQLITE_READONLY, "O ficheiro só pode ser lido: " + caminho, Erro_BD::Tipo::So_Leitura);
        // Take and drop the write lock: a file another program holds is
        // reported now, not halfway through a round.
        rc = sqlite3_exec(d->db_, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            int ext = sqlite3_extended_errcode(d->db_);
            sqlite3_exec(d->db_, "ROLLBACK;", nullptr, nullptr, nullptr);
            if (tipo_do_codigo(ext) == Erro_BD::Tipo::Bloqueada)
                throw Erro_BD(ext, "O ficheiro está a ser usado por outro programa: " + caminho,
                              Erro_BD::Tipo::Bloqueada);
            if (tipo_do_codigo(ext) == Erro_BD::Tipo::So_Leitura)
                throw Erro_BD(ext, "O ficheiro só pode ser lido: " + caminho, Erro_BD::Tipo::So_Leitura);
            d->falhar(rc);
        }
    }
    return d;
}

std::unique_ptr<Database> Database::criar(const std::string& caminho, const std::string& ligacao, int pagina) {
    preparar_motor();
    std::error_code ec;
    if (fs::exists(caminho, ec))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro já existe: " + caminho);
    std::unique_ptr<Database> d(new Database());
    d->caminho_ = caminho;
    int rc = sqlite3_open_v2(caminho.c_str(), &d->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) d->falhar(rc);
    d->pagina_ = pagina;
    d->configurar(ligacao);
    return d;
}

sqlite3_stmt* Database::preparar(std::string_view sql) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    vigiar();
    auto it = cache_.find(sql);
    if (it != cache_.end()) return it->second;
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &st, nullptr);
    if (rc != SQLITE_OK) falhar(rc, std::string(sql));
    if (!st) throw Erro_BD(SQLITE_MISUSE, "Instrução vazia");
    cache_.emplace(sql, st);
    return st;
}

int Database::Execute(std::string_view sql, const Parametros& p) {
    sqlite3_stmt* st = preparar(sql);
    // In play a write on its own is a transaction of its own, counted and
    // moved into the file as every commit is.
    if (wal_ && transaccoes_ == 0 && !sqlite3_stmt_readonly(st)) {
        Transaccao t(*this);
        const int n = Execute(sql, p);
        t.commit();
        return n;
    }
    int mudadas = 0;
    {
        Uso uso{st};
        ligar(st, p, *this);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {}
        if (rc != SQLITE_DONE) falhar(rc, std::string(sql));
        mudadas = sqlite3_changes(db_);
    }
    return mudadas;
}

void Database::modo_jogo() {
    if (!db_ || modo_ == Modo::So_Leitura || wal_) return;
    char* erro = nullptr;
    // Answers the mode it is in; a file that cannot take it stays as it was.
    auto ler = [](void* r, int, char** v, char**) {
        *static_cast<bool*>(r) = v[0] && std::string(v[0]) == "wal";
        return 0;
    };
    bool wal = false;
    // The game holds its file alone while it is played: no other program
    // writes it meanwhile, the log's index lives in memory rather than in a
    // shared file, and no commit pays for taking and dropping locks.
    int rc = sqlite3_exec(db_, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) registar(rc, "locking_mode=EXCLUSIVE", db_);
    rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", ler, &wal, &erro);
    sqlite3_free(erro);
    if (rc != SQLITE_OK) registar(rc, "journal_mode=WAL", db_);
    wal_ = wal;
    if (!wal_) {
        rc = sqlite3_exec(db_, "PRAGMA locking_mode=NORMAL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) registar(rc, "locking_mode=NORMAL", db_);
        return;
    }
    commits_ = commits_contados();
}

long long Database::commits_contados() { return valor("PRAGMA user_version").inteiro(); }

std::vector<std::string> Database::sobras(const std::string& caminho) {
    std::vector<std::string> r;
    std::error_code ec;
    for (const char* sufixo : {"-wal", "-journal"})
        if (fs::exists(caminho + sufixo, ec)) r.push_back(caminho + sufixo);
    return r;
}

std::unique_ptr<Database> Database::abrir_copia(const std::string& caminho, const std::string& ligacao) {
    std::error_code ec;
    if (!fs::is_regular_file(caminho, ec))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + caminho, Erro_BD::Tipo::Sem_Ficheiro);
    std::string pasta = (fs::temp_directory_path(ec) / "gv-copia-XXXXXX").string();
    if (!::mkdtemp(pasta.data())) {
        const std::error_code sis(errno, std::generic_category());
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível criar uma pasta temporária: " + sis.message(),
                      tipo_do_sistema(sis));
    }
    struct Pasta {
        std::string caminho;
        ~Pasta() {
            std::error_code ec;
            if (!caminho.empty()) fs::remove_all(caminho, ec);
        }
    } apagar{pasta};
    const std::string copia = (fs::path(pasta) / fs::path(caminho).filename()).string();
    auto copiar = [&](const std::string& de, const std::string& para) {
        fs::copy_file(de, para, ec);
        if (ec) throw Erro_BD(ERRO_FICHEIRO, "Não foi possível copiar " + de + ": " + ec.message(), tipo_do_sistema(ec));
    };
    copiar(caminho, copia);
    const std::vector<std::string> ao_lado = sobras(caminho);
    // The file alone: one of ours, and how many commits it counts. Left
    // halfway through taking its log in, it may not read alone: the log then
    // holds what it lacks (-1: not known).
    long long sem = -1;
    try {
        sem = abrir(copia, ligacao)->commits_contados();
    } catch (const Erro_BD& e) {
        if (e.tipo() != Erro_BD::Tipo::Danificada || ao_lado.empty()) throw;
    }
    for (const auto& s : ao_lado) copiar(s, copia + s.substr(caminho.size()));
    std::unique_ptr<Database> d;
    long long com = -1;
    bool legivel = false;
    try {
        d = abrir(copia, ligacao);
        com = d->commits_contados();
        legivel = d->valor("PRAGMA quick_check").texto() == "ok";
    } catch (const Erro_BD&) {
        // Pages that cannot be read under the file's key: another game's.
    }
    // A log holds at most the commit after the file's, as every commit is
    // moved into the file at once and the log emptied; a journal holds the
    // file's own pages from before a write that did not finish.
    const bool log = !ao_lado.empty() && ao_lado.front() == caminho + "-wal";
    if (!ao_lado.empty() && (!legivel || !(sem < 0 || com == sem || (log && com == sem + 1))))
        throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + ao_lado.front() + ", que não é seu",
                      Erro_BD::Tipo::Sobra_Alheia, ao_lado.front());
    d->pasta_copia_ = pasta;
    apagar.caminho.clear();
    return d;
}

namespace {

void chamar_inteira(sqlite3_context* c, int n, sqlite3_value** v) {
    long long argumentos[8];
    if (n > 8) return sqlite3_result_null(c);
    for (int i = 0; i < n; ++i) {
        if (sqlite3_value_type(v[i]) != SQLITE_INTEGER) return sqlite3_result_null(c);
        argumentos[i] = sqlite3_value_int64(v[i]);
    }
    long long r = 0;
    auto f = reinterpret_cast<Database::Funcao_Inteira>(sqlite3_user_data(c));
    if (f(argumentos, &r)) sqlite3_result_int64(c, r);
    else sqlite3_result_null(c);
}

} // namespace

void Database::funcao_inteira(const char* nome, int argumentos, Funcao_Inteira f) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    for (const auto& feita : funcoes_)
        if (feita == nome) return;
    if (argumentos < 0 || argumentos > 8) throw Erro_BD(SQLITE_MISUSE, std::string("Função inválida: ") + nome);
    const int rc = sqlite3_create_function_v2(db_, nome, argumentos, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                              reinterpret_cast<void*>(f), chamar_inteira, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, nome);
    funcoes_.emplace_back(nome);
}

bool Database::pousar() {
    if (!wal_ || !db_) return true;
    // Everything committed goes into the file itself, synced: the game file
    // alone holds the whole game.
    int no_log = 0, no_ficheiro = 0;
    const int rc = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, &no_log, &no_ficheiro);
    if (rc != SQLITE_OK) {
        // The commit itself is safe in the log, which the next commit, the
        // close or the next load moves into the file.
        registar(rc, "checkpoint", db_);
        return false;
    }
    if (no_log <= 0 || no_ficheiro != no_log) return true;
    // Every frame of the log is in the file: its header is wiped, so that a
    // crash at rest leaves nothing in the log that could be played into
    // another copy of the file. The engine writes a new header with the next
    // commit, which starts the log over as a checkpoint that took every
    // frame lets it; the log keeps its length, so that commit writes over
    // what is there instead of growing the file.
    sqlite3_file* log = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &log) != SQLITE_OK || !log || !log->pMethods)
        return true;
    static const char zeros[32] = {};
    const int escrito = log->pMethods->xWrite(log, zeros, sizeof zeros, 0);
    if (escrito == SQLITE_OK) return true;
    registar(escrito, "log header", nullptr);
    return false;
}

void Database::executar_script(const std::string& sql) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    vigiar();
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc);
}

sqlite3_stmt* Database::comecar(std::string_view sql, const Parametros& p) {
    sqlite3_stmt* st = preparar(sql);
    sqlite3_reset(st);
    ligar(st, p, *this);
    return st;
}

bool Database::passo(sqlite3_stmt* st, std::string_view sql) {
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) falhar(rc, std::string(sql));
    return false;
}

Database::Fim::~Fim() {
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
}

bool Linha_Lida::nulo(int i) const { return sqlite3_column_type(st_, i) == SQLITE_NULL; }
long long Linha_Lida::inteiro(int i) const {
    return sqlite3_column_type(st_, i) == SQLITE_INTEGER ? sqlite3_column_int64(st_, i) : ler_coluna(st_, i).inteiro();
}
int Linha_Lida::int32(int i) const {
    return sqlite3_column_type(st_, i) == SQLITE_INTEGER ? Valor(sqlite3_column_int64(st_, i)).int32()
                                                         : ler_coluna(st_, i).int32();
}
std::string_view Linha_Lida::vista(int i) const {
    if (sqlite3_column_type(st_, i) != SQLITE_TEXT) return {};
    auto t = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
    return t ? std::string_view(t, static_cast<std::size_t>(sqlite3_column_bytes(st_, i))) : std::string_view();
}

std::string Linha_Lida::texto(int i) const {
    if (sqlite3_column_type(st_, i) != SQLITE_TEXT) return ler_coluna(st_, i).texto();
    return std::string(vista(i));
}

Valor Database::valor(std::string_view sql, const Parametros& p) {
    sqlite3_stmt* st = preparar(sql);
    Uso uso{st};
    ligar(st, p, *this);
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return ler_coluna(st, 0);
    if (rc != SQLITE_DONE) falhar(rc, std::string(sql));
    return Valor();
}

void Database::BeginTrans() {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    vigiar();
    std::string sql = transaccoes_ == 0 ? "BEGIN IMMEDIATE" : "SAVEPOINT gv" + std::to_string(transaccoes_);
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, sql);
    ++transaccoes_;
}

void Database::CommitTrans() {
    if (transaccoes_ == 0 || !db_) throw Erro_BD(SQLITE_MISUSE, "Não há transacção aberta");
    vigiar();
    const bool contar = wal_ && transaccoes_ == 1;
    if (contar) {
        // The commit counts itself in the file's header.
        const std::string conta = "PRAGMA user_version = " + std::to_string(commits_ + 1);
        const int rc = sqlite3_exec(db_, conta.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) falhar(rc, conta);
    }
    std::string sql = transaccoes_ == 1 ? "COMMIT" : "RELEASE gv" + std::to_string(transaccoes_ - 1);
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, sql);
    --transaccoes_;
    if (contar) ++commits_;
    if (transaccoes_ == 0 && wal_) {
        ponto_de_falha("base.pousar");
        pousar();
    }
}

bool Database::em_transaccao() const { return transaccoes_ > 0 && !desfeita(); }

void Database::Rollback() {
    if (transaccoes_ == 0 || !db_) return;
    // Statements still stepping would keep the rollback from finishing.
    for (auto& [_, st] : cache_) sqlite3_reset(st);
    if (desfeita()) {
        // The engine undid the whole transaction already: nothing is left to
        // roll back at any level, and each level still open fails until the
        // outermost one is left.
        if (!desfeita_)
            desfeita_.emplace(SQLITE_ABORT_ROLLBACK, "O motor desfez a transacção aberta", Erro_BD::Tipo::Geral);
        if (--transaccoes_ == 0) desfeita_.reset();
        return;
    }
    std::string sql = transaccoes_ == 1
                          ? std::string("ROLLBACK")
                          : "ROLLBACK TO gv" + std::to_string(transaccoes_ - 1) + "; RELEASE gv" +
                                std::to_string(transaccoes_ - 1);
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    --transaccoes_;
    if (rc != SQLITE_OK) falhar(rc, sql);
}

Transaccao::~Transaccao() {
    if (!feita_) {
        try {
            d_.Rollback();
        } catch (...) {
        }
    }
}

bool Database::tabela_existe(const std::string& nome) {
    return valor("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE", {nome})
               .inteiro() > 0;
}

std::vector<std::string> Database::tabelas() {
    std::vector<std::string> r;
    auto rs = OpenRecordset("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    for (; !rs.Eof(); rs.MoveNext()) r.push_back(rs["name"].texto());
    return r;
}

void Database::compactar() {
    if (transaccoes_ > 0) throw Erro_BD(SQLITE_MISUSE, "Compactação dentro de uma transacção");
    // Cached statements are reset after each use; none is left running.
    executar_script("VACUUM;");
}

void Database::exportar(const std::string& destino, const std::string& ligacao) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    if (transaccoes_ > 0) throw Erro_BD(SQLITE_MISUSE, "Exportação dentro de uma transacção");
    std::error_code ec;
    if (fs::exists(destino, ec)) throw Erro_BD(ERRO_FICHEIRO, "O ficheiro já existe: " + destino);
    const std::string senha = senha_da_ligacao(ligacao);
    std::string chave = senha;
    // The key is derived here from a salt drawn here, and handed over with
    // it: the new file begins with that salt, and opening it later costs no
    // second derivation. Until a key derived here has opened a file, the
    // engine derives it, with a salt of its own drawing.
    unsigned char sal[Tamanho_Sal];
    if (!senha.empty() && derivacao_provada_ && RAND_bytes(sal, Tamanho_Sal) == 1) {
        const std::string k = chave_do_sal(senha, sal);
        if (!k.empty()) chave = k.substr(0, k.size() - 1) + hexadecimal(sal, Tamanho_Sal) + "'";
    }
    // An attached file takes the engine's default page size.
    const std::string antes = valor("PRAGMA cipher_default_page_size").texto();
    executar_script("PRAGMA cipher_default_page_size = " + std::to_string(pagina_));
    struct Repor {
        sqlite3* db;
        std::string pagina;
        ~Repor() {
            if (!pagina.empty())
                sqlite3_exec(db, ("PRAGMA cipher_default_page_size = " + pagina).c_str(), nullptr, nullptr, nullptr);
        }
    } repor{db_, antes};
    Execute("ATTACH DATABASE ? AS gv_novo KEY ?", {destino, chave});
    try {
        valor("SELECT sqlcipher_export('gv_novo')");
    } catch (const Erro_BD&) {
        sqlite3_exec(db_, "DETACH DATABASE gv_novo", nullptr, nullptr, nullptr);
        fs::remove(destino, ec);
        fs::remove(destino + "-journal", ec);
        throw;
    }
    Execute("DETACH DATABASE gv_novo");
}

long long Database::ultimo_rowid() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

} // namespace gv::db
