// The connection: opening and closing a file, statements with bound
// values, and transactions, with the engine's own undoing of one kept track
// of. A game file reaches it through its hooks only (em_jogo.cpp); the key
// and the export live in chave.cpp.

#include "platform/db/database.h"

#include "platform/db/interno.h"
#include "platform/db/lugar.h"

#include <sqlite3.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

int colacao_nome(void*, int na, const void* a, int nb, const void* b) {
    return comparar_nomes(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
                          std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
}

} // namespace

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
    bool sozinho = true;
    if (db_) {
        if (transaccoes_ > 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        transaccoes_ = 0;
        desfeita_.reset();
        const std::unique_ptr<Ganchos_Commit> ganchos = std::move(ganchos_);
        if (ganchos) ganchos->ao_fechar(*this);
        // The engine's own close may still move the log into the file.
        const int rc = sqlite3_close_v2(db_);
        if (rc != SQLITE_OK) registar(rc, "close", nullptr);
        db_ = nullptr;
        if (ganchos) sozinho = ganchos->depois_de_fechar(*this);
    }
    lugar_.reset();
    return sozinho;
}

namespace {

// A function of the engine's (the export) tells a failure of the disk or
// the file in its words only, under a code of no kind: the code whose
// words they are.
int codigo_das_palavras(int numero, const char* palavras) {
    if ((numero & 0xFF) != SQLITE_ERROR || !palavras) return numero;
    for (int c : {SQLITE_IOERR, SQLITE_FULL, SQLITE_READONLY, SQLITE_CANTOPEN, SQLITE_PERM, SQLITE_CORRUPT,
                  SQLITE_NOTADB, SQLITE_BUSY})
        if (std::string_view(palavras) == sqlite3_errstr(c)) return c;
    return numero;
}

} // namespace

void Database::falhar(int rc, const std::string& contexto) const {
    std::string d = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    if (!contexto.empty()) d += " (" + contexto + ")";
    const int numero = db_ ? codigo_das_palavras(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_)) : rc;
    Erro_BD erro(numero, d, tipo_do_codigo(numero));
    // A failure that came with the game's name lost is that loss; one of a
    // file the game's place would not hand the engine, that refusal.
    const std::optional<Erro_BD> recusa = lugar_ ? lugar_->recusa() : std::nullopt;
    if (nome_mudou())
        erro = ganchos_ ? ganchos_->nome_perdido(*const_cast<Database*>(this)) : lugar_->perdido(Perda::Nada);
    else if (recusa)
        erro = recusa->tipo() == Erro_BD::Tipo::Ficheiro_Movido ? lugar_->perdido(Perda::Nada) : *recusa;
    // An I/O error, a full disk, no memory or an interrupt can make the
    // engine undo the whole transaction: this failure is then its cause.
    if (transaccoes_ > 0 && !desfeita_ && db_ && sqlite3_get_autocommit(db_))
        desfeita_por(std::move(erro));
    throw erro;
}

void Database::desfeita_por(Erro_BD causa) const {
    desfeita_ = causa;
    throw Transaccao_Desfeita(std::move(causa));
}

bool Database::desfeita() const { return transaccoes_ > 0 && (desfeita_ || (db_ && sqlite3_get_autocommit(db_))); }

const Erro_BD& Database::causa_desfeita() const {
    // A failure caught and passed over left the engine without the
    // transaction: the engine's own undoing is all there is to tell.
    if (!desfeita_)
        desfeita_.emplace(SQLITE_ABORT_ROLLBACK, "O motor desfez a transacção aberta", Erro_BD::Tipo::Geral);
    return *desfeita_;
}

void Database::exigir_transaccao_viva() {
    // Whatever comes after an undoing must not be written on its own.
    if (desfeita()) throw Transaccao_Desfeita(causa_desfeita());
}

void Database::configurar(const std::string& ligacao, const std::string& sal) {
    std::string senha = senha_da_ligacao(ligacao);
    if (!senha.empty()) {
        // The key of a file already made is derived here once per password
        // and salt, and handed over whole: opening the same file again, or a
        // copy of it, costs no second derivation.
        const std::string chave = chave_com_passe_ ? std::string() : chave_guardada(senha, sal);
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

// The engine is set up once, before its first connection: each connection
// is used by one thread at a time, and no memory statistics are kept, so
// no statement pays for locks it never needs.
void Database::preparar_motor() {
    static const bool feito = [] {
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        const bool iniciado = sqlite3_initialize() == SQLITE_OK;
        instalar_lugares();
        return iniciado;
    }();
    (void)feito;
}

std::vector<int> Database::paginas_possiveis(std::uintmax_t tamanho) {
    // A file a power cut left ending inside a page (a checkpoint lengthened
    // it, and only some of its sectors reached the disk) has either size:
    // the engine counts the part of a page as a page, its missing bytes
    // read as zeros.
    if (tamanho % Pagina_Nova == 0 || tamanho % Pagina_Antiga != 0) return {Pagina_Nova, Pagina_Antiga};
    return {Pagina_Antiga, Pagina_Nova};
}

std::unique_ptr<Database> Database::abrir(const std::string& caminho, const std::string& ligacao, Modo modo,
                                          Abertura como) {
    std::error_code ec;
    if (!fs::is_regular_file(caminho, ec))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + caminho, Erro_BD::Tipo::Sem_Ficheiro);
    const auto bytes = fs::file_size(caminho, ec);
    return abrir_em(caminho, caminho, caminho, ec ? 0 : bytes, ligacao, modo, como);
}

std::unique_ptr<Database> Database::abrir(std::shared_ptr<Lugar_Jogo> lugar, const std::string& ligacao, Modo modo,
                                          Abertura como) {
    if (!lugar->ficheiro().tomado() && !lugar->ocupado())
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + lugar->caminho(), Erro_BD::Tipo::Sem_Ficheiro);
    // The salt is read from the file held, whatever has its name now.
    const std::string sal = lugar->ficheiro().tomado()
                                ? "/proc/self/fd/" + std::to_string(lugar->ficheiro().descritor())
                                : lugar->no_motor();
    std::unique_ptr<Database> d;
    try {
        d = abrir_em(lugar->no_motor(), sal, lugar->caminho(), lugar->tamanho(), ligacao, modo, como);
    } catch (const Erro_BD&) {
        // A file the place would not hand the engine as it opened: that refusal.
        if (std::optional<Erro_BD> recusa = lugar->recusa())
            throw recusa->tipo() == Erro_BD::Tipo::Ficheiro_Movido ? lugar->perdido(Perda::Nada) : *recusa;
        throw;
    }
    d->lugar_ = std::move(lugar);
    return d;
}

std::unique_ptr<Database> Database::abrir_em(const std::string& motor, const std::string& sal,
                                             const std::string& caminho, std::uintmax_t tamanho,
                                             const std::string& ligacao, Modo modo, Abertura como) {
    preparar_motor();
    std::unique_ptr<Database> d(new Database());
    d->caminho_ = caminho;
    d->modo_ = modo;
    d->ligacao_ = ligacao;
    d->como_ = como;
    // CREATE lets an attached compaction target be made; the file itself
    // was checked to exist above.
    const int flags = modo == Modo::So_Leitura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    // Reading the schema is what proves the file is one of ours with the
    // right password and page size; nothing is written by it.
    auto tentar = [&](int pagina, bool com_passe) {
        if (d->db_) sqlite3_close_v2(d->db_);
        d->db_ = nullptr;
        const int aberta = sqlite3_open_v2(motor.c_str(), &d->db_, flags, nullptr);
        if (aberta != SQLITE_OK) d->falhar(aberta);
        d->pagina_ = pagina;
        d->chave_com_passe_ = com_passe;
        d->configurar(ligacao, sal);
        if (como.exclusiva) {
            const int rc = sqlite3_exec(d->db_, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK) return rc;
        }
        return sqlite3_exec(d->db_, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    };
    auto recusada = [](int rc) { return (rc & 0xFF) == SQLITE_NOTADB; };
    std::vector<int> paginas = como.pagina ? std::vector<int>{como.pagina} : paginas_possiveis(tamanho);
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
                      Erro_BD::Tipo::Nao_E_Base, caminho);
    if (rc != SQLITE_OK) d->falhar(rc);
    if (modo == Modo::Leitura_Escrita) {
        if (sqlite3_db_readonly(d->db_, "main") == 1)
            throw Erro_BD(SQLITE_READONLY, "O ficheiro só pode ser lido: " + caminho, Erro_BD::Tipo::So_Leitura,
                          caminho);
        // Take and drop the write lock: a file another program holds is
        // reported now, not halfway through a round.
        rc = sqlite3_exec(d->db_, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            int ext = sqlite3_extended_errcode(d->db_);
            sqlite3_exec(d->db_, "ROLLBACK;", nullptr, nullptr, nullptr);
            if (tipo_do_codigo(ext) == Erro_BD::Tipo::Bloqueada)
                throw Erro_BD(ext, "O ficheiro está a ser usado por outro programa: " + caminho,
                              Erro_BD::Tipo::Bloqueada, caminho);
            if (tipo_do_codigo(ext) == Erro_BD::Tipo::So_Leitura)
                throw Erro_BD(ext, "O ficheiro só pode ser lido: " + caminho, Erro_BD::Tipo::So_Leitura, caminho);
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
    d->ligacao_ = ligacao;
    d->configurar(ligacao, caminho);
    return d;
}

sqlite3_stmt* Database::preparar(std::string_view sql) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    exigir_transaccao_viva();
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
    // In play a write on its own is a commit of its own, as every commit is.
    if (ganchos_ && transaccoes_ == 0 && !sqlite3_stmt_readonly(st)) {
        Transaccao t(*this);
        const int n = Execute(sql, p);
        t.commit();
        return n;
    }
    int mudadas = 0;
    {
        Em_Uso uso{st};
        ligar_valores(st, p, *this);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {}
        if (rc != SQLITE_DONE) falhar(rc, std::string(sql));
        mudadas = sqlite3_changes(db_);
    }
    return mudadas;
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
        if (feita.nome == nome) return;
    if (argumentos < 0 || argumentos > 8) throw Erro_BD(SQLITE_MISUSE, std::string("Função inválida: ") + nome);
    fazer_funcao({nome, argumentos, f});
    funcoes_.push_back({nome, argumentos, f});
}

void Database::fazer_funcao(const Funcao& f) {
    const int rc = sqlite3_create_function_v2(db_, f.nome.c_str(), f.argumentos, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                              reinterpret_cast<void*>(f.f), chamar_inteira, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, f.nome);
}

void Database::reabrir(const std::function<void()>& entre) {
    if (!db_ || !lugar_ || transaccoes_ > 0) throw Erro_BD(SQLITE_MISUSE, "Reabertura sem lugar, ou numa transacção");
    for (sqlite3_stmt* st = sqlite3_next_stmt(db_, nullptr); st; st = sqlite3_next_stmt(db_, st))
        if (sqlite3_stmt_busy(st)) throw Erro_BD(SQLITE_MISUSE, "Reabertura com uma leitura a meio");
    for (auto& [_, st] : cache_) sqlite3_finalize(st);
    cache_.clear();
    formas_.clear();
    if (const int rc = sqlite3_close_v2(db_); rc != SQLITE_OK) registar(rc, "close", nullptr);
    db_ = nullptr;
    auto ligar = [this] {
        auto nova = abrir(lugar_, ligacao_, modo_, como_);
        std::swap(db_, nova->db_);
        pagina_ = nova->pagina_;
        chave_derivada_ = nova->chave_derivada_;
        chave_com_passe_ = nova->chave_com_passe_;
        for (const Funcao& f : funcoes_) fazer_funcao(f);
    };
    // When `entre` fails the connection comes back on the file the place
    // still holds, where it can.
    try {
        entre();
    } catch (...) {
        try {
            ligar();
        } catch (const Falha_BD&) {
        }
        throw;
    }
    ligar();
}


void Database::executar_script(const std::string& sql) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    exigir_transaccao_viva();
    // In play a script on its own is a commit of its own, as every commit is.
    if (ganchos_ && transaccoes_ == 0) {
        Transaccao t(*this);
        executar_script(sql);
        t.commit();
        return;
    }
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc);
}

sqlite3_stmt* Database::comecar(std::string_view sql, const Parametros& p) {
    sqlite3_stmt* st = preparar(sql);
    sqlite3_reset(st);
    ligar_valores(st, p, *this);
    return st;
}

bool Database::passo(sqlite3_stmt* st, std::string_view sql) {
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) falhar(rc, std::string(sql));
    return false;
}

Database::Em_Uso::~Em_Uso() {
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
    Em_Uso uso{st};
    ligar_valores(st, p, *this);
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return ler_coluna(st, 0);
    if (rc != SQLITE_DONE) falhar(rc, std::string(sql));
    return Valor();
}

bool Database::nome_mudou() const { return lugar_ && lugar_->ficheiro().tomado() && !lugar_->nomeia(); }

void Database::BeginTrans() {
    if (!db_ && perda_) recusar_perda();
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    exigir_transaccao_viva();
    if (transaccoes_ == 0 && ganchos_) ganchos_->antes_da_transaccao(*this);
    std::string sql = transaccoes_ == 0 ? "BEGIN IMMEDIATE" : "SAVEPOINT gv" + std::to_string(transaccoes_);
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, sql);
    ++transaccoes_;
}

void Database::CommitTrans() {
    if (transaccoes_ == 0 || !db_) throw Erro_BD(SQLITE_MISUSE, "Não há transacção aberta");
    exigir_transaccao_viva();
    const bool exterior = transaccoes_ == 1;
    if (exterior && ganchos_) ganchos_->antes_do_commit(*this);
    std::string sql = exterior ? "COMMIT" : "RELEASE gv" + std::to_string(transaccoes_ - 1);
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        if (exterior && ganchos_) ganchos_->commit_falhou(*this);
        falhar(rc, sql);
    }
    --transaccoes_;
    if (exterior && ganchos_) ganchos_->depois_do_commit(*this);
    if (exterior) deixado();
}

void Database::deixado() const {
    if (ganchos_ && lugar_) lugar_->deixado();
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
        causa_desfeita();
        if (--transaccoes_ == 0) desfeita_.reset(), deixado();
        return;
    }
    std::string sql = transaccoes_ == 1
                          ? std::string("ROLLBACK")
                          : "ROLLBACK TO gv" + std::to_string(transaccoes_ - 1) + "; RELEASE gv" +
                                std::to_string(transaccoes_ - 1);
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (--transaccoes_ == 0) deixado();
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

void Database::compactar() {
    if (transaccoes_ > 0) throw Erro_BD(SQLITE_MISUSE, "Compactação dentro de uma transacção");
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    // Cached statements are reset after each use; none is left running.
    const int rc = sqlite3_exec(db_, "VACUUM", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, "VACUUM");
}

long long Database::ultimo_rowid() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

Repor_Pragma::~Repor_Pragma() {
    if (!sql.empty()) sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string modo_diario(Database& d, const char* modo) {
    std::string agora;
    char* erro = nullptr;
    const std::string sql = std::string("PRAGMA journal_mode=") + modo;
    const int rc = sqlite3_exec(
        d.handle(), sql.c_str(),
        [](void* m, int, char** v, char**) {
            *static_cast<std::string*>(m) = v[0] ? v[0] : "";
            return 0;
        },
        &agora, &erro);
    sqlite3_free(erro);
    if (rc != SQLITE_OK) d.falhar(rc, sql);
    return agora;
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


} // namespace gv::db