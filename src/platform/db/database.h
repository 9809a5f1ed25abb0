#pragma once
// The connection: our small layer over the SQLCipher C API, standing where
// the old program used its database objects: open with the password of a
// connect string, execute statements with bound values, open recordsets
// (recordset.h), transactions. Values are always bound, never spliced into
// the text. Its values, failures and name order have headers of their own,
// included here for every caller.

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/db/colacao.h"
#include "platform/db/erro_bd.h"
#include "platform/db/recordset.h"
#include "platform/db/valor.h"

struct sqlite3;
struct sqlite3_stmt;

namespace gv::db {

class Lugar_Jogo;

enum class Modo { Leitura_Escrita, So_Leitura };

// The password of a connect string such as ";pwd=secret".
std::string senha_da_ligacao(const std::string& ligacao);

// The current row of a query walked with Database::percorrer: its columns
// read in place, by index, without copying the row.
class Linha_Lida {
public:
    explicit Linha_Lida(sqlite3_stmt* st) : st_(st) {}
    bool nulo(int i) const;
    long long inteiro(int i) const;   // as Valor::inteiro
    int int32(int i) const;
    std::string texto(int i) const;   // Null -> ""
    // A text column as it is stored, valid until the next row; empty for
    // anything but text.
    std::string_view vista(int i) const;
private:
    sqlite3_stmt* st_;
};

class Database;

// Hooks a game file puts on its connection (em_jogo.cpp): something to do
// within each outermost commit, after it, and when the connection closes.
// The connection knows no more of a game than this.
class Ganchos_Commit {
public:
    virtual ~Ganchos_Commit() = default;
    // Before the outermost transaction begins, nothing written yet: throws
    // when it is not to begin (the file's name now names another file).
    virtual void antes_da_transaccao(Database& d) = 0;
    // A failure came with the file's name lost: the loss to tell in its
    // place, kept.
    virtual Erro_BD nome_perdido(Database& d) = 0;
    // Within the outermost transaction, right before it is committed.
    virtual void antes_do_commit(Database& d) = 0;
    // The commit failed: nothing of it is to be the file's.
    virtual void commit_falhou(Database& d) = 0;
    // Right after the outermost commit.
    virtual void depois_do_commit(Database& d) = 0;
    // Before the connection closes.
    virtual void ao_fechar(Database& d) = 0;
    // Once the engine has let go of the file, the last look: whether the
    // file alone holds everything committed.
    virtual bool depois_de_fechar(Database& d) = 0;
};

// How a file is opened: with one page size only (0: each of ours in turn),
// and held by its connection alone from the first read, so that a log
// beside it is read with its index in memory rather than in a shared index
// file beside it.
struct Abertura {
    int pagina = 0;
    bool exclusiva = false;
};

class Database {
public:
    // Page sizes of an enciphered file: every file made here has the new
    // one, with fewer and larger pages for a commit to encipher and write;
    // a game saved before has the old one and opens as it is.
    static constexpr int Pagina_Nova = 4096;
    static constexpr int Pagina_Antiga = 1024;
    // The page sizes a file of this length may have, the likelier first: a
    // length that is a whole number of old pages but not of new ones is
    // most likely an old file.
    static std::vector<int> paginas_possiveis(std::uintmax_t tamanho);
    // Opens an existing database file. Throws Erro_BD with a clear text when
    // the file is missing, is not a database, the password is wrong, or the
    // file is locked; nothing is written to the file in any of those cases.
    static std::unique_ptr<Database> abrir(const std::string& caminho, const std::string& ligacao,
                                           Modo modo = Modo::Leitura_Escrita, Abertura como = {});
    // A game's file, in its place (lugar.h): the engine is handed the very
    // file the place holds, and the connection keeps the place till it
    // closes. Named by the place's path in a refusal.
    static std::unique_ptr<Database> abrir(std::shared_ptr<Lugar_Jogo> lugar, const std::string& ligacao,
                                           Modo modo = Modo::Leitura_Escrita, Abertura como = {});
    // Sets the engine up, once, before its first connection (opening or
    // creating a file does it).
    static void preparar_motor();
    // Creates a new, empty, password-protected database (fails if it exists).
    static std::unique_ptr<Database> criar(const std::string& caminho,
                                           const std::string& ligacao,
                                           int pagina = Pagina_Nova);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& caminho() const { return caminho_; }
    bool so_leitura() const { return modo_ == Modo::So_Leitura; }
    int pagina() const { return pagina_; }

    // Action statement; returns the rows changed.
    int Execute(std::string_view sql, const Parametros& p = {});
    // Several statements without values (schema scripts).
    void executar_script(const std::string& sql);
    // Opens a recordset over a query. It is updatable when the query reads
    // one table (optionally joined, the first table being the one updated)
    // without DISTINCT, GROUP BY or aggregates.
    Recordset OpenRecordset(const std::string& sql, const Parametros& p = {});
    // The first column of the first row (Null when there is no row).
    Valor valor(std::string_view sql, const Parametros& p = {});
    // Calls f with each row of a query, in order: a read-only walk for the
    // heavy reads, with nothing kept.
    template <class F>
    void percorrer(std::string_view sql, const Parametros& p, F f) {
        Em_Uso uso{comecar(sql, p)};
        while (passo(uso.st, sql)) f(static_cast<const Linha_Lida&>(Linha_Lida(uso.st)));
    }

    void BeginTrans();
    void CommitTrans();
    void Rollback();
    // A transaction of ours is open and the engine has not undone it (a
    // full disk, an I/O error, no memory or an interrupt can make it roll
    // everything back).
    bool em_transaccao() const;
    // The engine undid our open transaction: from then on every statement
    // and every commit fails with the cause, and nothing runs on its own,
    // until the outermost level is rolled back.
    bool desfeita() const;

    // Opened with the key derived here from the password and the file's
    // salt (kept for the process: a file's copies share its salt), and how
    // many keys were derived so far.
    bool chave_derivada() const { return chave_derivada_; }
    static int derivacoes();

    // Rewrites the file compactly in place, on this connection, as one
    // transaction of the engine: a failure leaves the file as it was.
    void compactar();
    // The key of a new file, got ready apart: its salt drawn at once, and
    // the key derived from it on a thread of its own while the caller
    // builds what goes into the file. Empty (the export then derives one
    // itself) until a key derived here has opened a file. Left unused, it
    // waits for its thread to end when it goes.
    class Chave_Nova {
    private:
        friend class Database;
        std::string senha_;
        std::future<std::string> chave_;   // the raw key with the salt after it
    };
    static Chave_Nova preparar_chave(const std::string& ligacao);
    // Writes the whole database, compactly, to the new file destino under
    // the same password and page size but a salt of its own, so that its
    // key is its own: no other game's log or journal can be read with it.
    // It is one transaction of the engine: a failure leaves no file and the
    // source as it was. The key is the one given, if got ready for this
    // password, or one derived here.
    void exportar(const std::string& destino, const std::string& ligacao, Chave_Nova preparada = {});
    // The connection opened anew on its place's file, once `entre` has run
    // with the engine's file closed (another file put under the game's
    // name; when it fails, the connection comes back on the old one and its
    // failure is thrown): no statement may be running; its hooks and
    // functions stay.
    void reabrir(const std::function<void()>& entre);
    const std::string& ligacao() const { return ligacao_; }

    // A game file (em_jogo.cpp): every write on its own becomes a commit of
    // its own, and each outermost commit and the close go through `g`, in
    // place of any hooks before.
    void pendurar_ganchos(std::unique_ptr<Ganchos_Commit> g) { ganchos_ = std::move(g); }
    Ganchos_Commit* ganchos() const { return ganchos_.get(); }

    // The game's place, kept while this connection has the file and let go
    // when it closes; none for any other file.
    const std::shared_ptr<Lugar_Jogo>& lugar() const { return lugar_; }
    // Whether the file's name in its folder no longer names the file this
    // connection has: it was moved away, replaced or deleted since.
    bool nome_mudou() const;
    // The game was lost to this window while open (em_jogo.cpp): its file
    // lost its name, or another program wrote into it. Nothing more is
    // written or deleted by name, and every transaction is refused with
    // this failure, which tells what became of what was played. `dita`:
    // the player was shown it.
    void perder_jogo(Erro_BD e) { perda_ = std::move(e); }
    const Erro_BD* perda() const { return perda_ ? &*perda_ : nullptr; }
    bool perda_dita() const { return perda_dita_; }
    Erro_BD dizer_perda() {
        perda_dita_ = true;
        return *perda_;
    }
    [[noreturn]] void recusar_perda() { throw dizer_perda(); }
    // The game's file and log as this window leaves them, at each
    // transaction's end (lugar.h).
    void deixado() const;

    // A function of whole numbers for this connection's statements, made
    // once per name: it is called when every argument is a whole number and
    // answers one, or nothing (NULL) when it cannot; any other argument
    // gives NULL without calling it. Statements use it with a fallback.
    using Funcao_Inteira = bool (*)(const long long* argumentos, long long* resultado);
    void funcao_inteira(const char* nome, int argumentos, Funcao_Inteira f);

    bool tabela_existe(const std::string& nome);
    std::vector<std::string> tabelas();
    long long ultimo_rowid() const;

    // Closes the connection. False when the file does not hold the whole
    // game alone afterwards: part of it is still in its log beside it.
    bool Close();
    bool aberta() const { return db_ != nullptr; }
    // How long a statement waits for a file another program holds before
    // it fails: one second (tests shorten it). Taken at open.
    static int& espera_bloqueio_ms();
    sqlite3* handle() const { return db_; }

    // Prepared statements are cached by text and reused.
    sqlite3_stmt* preparar(std::string_view sql);
    [[noreturn]] void falhar(int rc, const std::string& contexto = {}) const;

private:
    friend class Recordset;
    Database() = default;
    // Opens the file the engine knows as `motor`, `tamanho` bytes long,
    // whose salt is read from `sal`; `caminho` names it.
    static std::unique_ptr<Database> abrir_em(const std::string& motor, const std::string& sal,
                                              const std::string& caminho, std::uintmax_t tamanho,
                                              const std::string& ligacao, Modo modo, Abertura como);
    void configurar(const std::string& ligacao, const std::string& sal);
    // The key for this password and the salt the file `sal` begins with.
    static std::string chave_guardada(const std::string& senha, const std::string& sal);
    static bool derivacao_provada_;   // a key derived here has opened a file
    // A cached statement in use, reset and its values cleared when the
    // scope ends, however it ends.
    struct Em_Uso {
        sqlite3_stmt* st;
        ~Em_Uso();
    };
    // What a query's text tells once: the table its rows can be written
    // back to, the statement that also reads their rowid, the columns.
    struct Forma {
        std::string tabela;
        std::string leitura;     // the query with the rowid first; empty: the query itself
        std::vector<std::string> nomes, colunas_base;
    };
    const Forma& forma(const std::string& sql, sqlite3_stmt* st);
    bool chave_derivada_ = false;   // opened with a key derived here
    bool chave_com_passe_ = false;  // the engine derives it from the password
    int pagina_ = Pagina_Nova;      // the file's page size
    sqlite3_stmt* comecar(std::string_view sql, const Parametros& p);
    bool passo(sqlite3_stmt* st, std::string_view sql);
    std::unordered_map<std::string, Forma> formas_;
    sqlite3* db_ = nullptr;
    std::string caminho_;
    Modo modo_ = Modo::Leitura_Escrita;
    int transaccoes_ = 0;
    std::unique_ptr<Ganchos_Commit> ganchos_;
    std::shared_ptr<Lugar_Jogo> lugar_;
    std::optional<Erro_BD> perda_;
    bool perda_dita_ = false;
    // Why the engine undid the open transaction, kept until the outermost
    // level is rolled back.
    mutable std::optional<Erro_BD> desfeita_;
    // Throws the cause when the engine has undone the open transaction.
    void exigir_transaccao_viva();
    // The cause kept for an undone transaction: the failure that undid it,
    // or the engine's own undoing when no failure of ours was seen.
    const Erro_BD& causa_desfeita() const;
    [[noreturn]] void desfeita_por(Erro_BD causa) const;
    // Found by any text without making a string of it.
    struct Hash_Texto {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, sqlite3_stmt*, Hash_Texto, std::equal_to<>> cache_;
    // The functions made on this connection, made again on a new one.
    struct Funcao {
        std::string nome;
        int argumentos;
        Funcao_Inteira f;
    };
    std::vector<Funcao> funcoes_;
    void fazer_funcao(const Funcao& f);
    std::string ligacao_;   // how it was opened, to open it anew
    Abertura como_;
};

// Rolls back on scope exit unless commit() was called: a round, a deal or a
// season change is all or nothing.
class Transaccao {
public:
    explicit Transaccao(Database& d) : d_(d) { d_.BeginTrans(); }
    ~Transaccao();
    void commit() { d_.CommitTrans(); feita_ = true; }
    Transaccao(const Transaccao&) = delete;
    Transaccao& operator=(const Transaccao&) = delete;
private:
    Database& d_;
    bool feita_ = false;
};

} // namespace gv::db
