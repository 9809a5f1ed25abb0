#pragma once
// Our small layer over the SQLCipher C API, standing where the old program
// used its database objects: open with the password of a connect string,
// execute statements with bound values, updatable recordsets and
// transactions. Values are always bound, never spliced into the text.

#include <cstdint>
#include <functional>
#include <future>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/db/bloqueio_jogo.h"

struct sqlite3;
struct sqlite3_stmt;

namespace gv::db {

// A cell value: Null, whole number, real number or text.
class Valor {
public:
    enum class Tipo { Nulo, Inteiro, Real, Texto };
    Valor() = default;
    Valor(std::nullptr_t) {}
    Valor(int v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(long v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(long long v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(unsigned v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(double v) : tipo_(Tipo::Real), r_(v) {}
    Valor(const char* s) : tipo_(Tipo::Texto), s_(s ? s : "") {}
    Valor(std::string s) : tipo_(Tipo::Texto), s_(std::move(s)) {}

    Tipo tipo() const { return tipo_; }
    bool nulo() const { return tipo_ == Tipo::Nulo; }
    long long inteiro() const;   // Null -> 0; real rounds half to even; text parses leading number
    int int32() const;           // as inteiro(), saturated to 32 bits
    double real() const;         // Null -> 0
    std::string texto() const;   // Null -> ""
    bool operator==(const Valor& o) const;

private:
    Tipo tipo_ = Tipo::Nulo;
    long long i_ = 0;
    double r_ = 0;
    std::string s_;
};

using Parametros = std::vector<Valor>;

// A failure of the database, of either kind below: what the one place that
// owns a whole transaction (a deal, the line-up) catches to report it.
class Falha_BD : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every failure of the layer. numero is the engine's extended result code
// (or one of ours below); descricao the technical detail (the engine's
// words, the statement): for the error log, never for the person, who is
// told the cause by its kind.
class Erro_BD : public Falha_BD {
public:
    // What went wrong: the file itself, or the machine around it.
    enum class Tipo {
        Geral,          // anything else
        Sem_Ficheiro,   // the file is not there
        Nao_E_Base,     // not a database of ours, or another password
        Danificada,     // a database of ours, damaged
        Bloqueada,      // another program holds it
        So_Leitura,     // the file or its folder may only be read
        Sem_Permissao,  // the system refuses the access
        Disco_Cheio,    // no room left on the disk
        Erro_ES,        // the disk failed a read or a write
        Sobra_Alheia,   // a log or journal beside the file is not the file's own
        Sobra_Danificada, // the file's own log or journal, damaged: the file alone is whole
        Sobra_Estranha, // beside the file, under a log's or journal's name, something that is no file
        Sobra_Grande,   // beside the file, under a log's or journal's name, a file larger than any the game writes
        Pasta_Temporaria, // the temporary folder cannot take a private copy
        Pasta_So_Leitura, // the game's folder may only be read: the game cannot be played there
        Noutra_Janela,  // another window of the game has this game open
    };
    Erro_BD(int numero, std::string descricao, Tipo tipo = Tipo::Geral, std::string ficheiro = {},
            Tipo causa = Tipo::Geral);
    int numero() const { return numero_; }
    const std::string& descricao() const { return descricao_; }
    Tipo tipo() const { return tipo_; }
    // The file (or folder) the failure is about, where it is known.
    const std::string& ficheiro() const { return ficheiro_; }
    // For the temporary folder: what the system said of it (Sem_Ficheiro,
    // So_Leitura, Disco_Cheio...). For the game's own damaged side file:
    // Danificada when the game file does not stand without it.
    Tipo causa() const { return causa_; }
private:
    int numero_;
    std::string descricao_;
    Tipo tipo_;
    std::string ficheiro_;
    Tipo causa_;
};

// The engine undid the open transaction on its own (a full disk, an I/O
// error, no memory, an interrupt): every statement and commit after it
// throws this until the outermost level is rolled back. Not an Erro_BD, so
// that a place which passes over an ordinary failure of one statement
// cannot swallow it by accident; whoever owns the transaction reports it,
// with its cause.
class Transaccao_Desfeita : public Falha_BD {
public:
    explicit Transaccao_Desfeita(Erro_BD causa) : Falha_BD(causa.what()), causa_(std::move(causa)) {}
    const Erro_BD& causa() const { return causa_; }
private:
    Erro_BD causa_;
};

// The kind of an engine result code, and of a system error (file copies,
// renames).
Erro_BD::Tipo tipo_do_codigo(int codigo);
Erro_BD::Tipo tipo_do_sistema(const std::error_code& ec);

// Our own error numbers (above the engine's range).
constexpr int ERRO_SEM_BASE = 3000;        // no open database
constexpr int ERRO_NAO_ACTUALIZAVEL = 3027; // recordset cannot be updated
constexpr int ERRO_SEM_REGISTO = 3021;     // no current record
constexpr int ERRO_CAMPO = 3265;           // no such field in the recordset
constexpr int ERRO_FICHEIRO = 3044;        // file missing / not a game database

enum class Modo { Leitura_Escrita, So_Leitura };

// The password of a connect string such as ";pwd=secret".
std::string senha_da_ligacao(const std::string& ligacao);

// A person's alphabetical comparison: case- and accent-insensitive
// (UTF-8). Returns <0, 0, >0. Registered as the collation "NOME".
int comparar_nomes(std::string_view a, std::string_view b);
// Folded key used by comparar_nomes (lower case, accents removed).
std::string chave_nome(const std::string& s);

class Recordset;

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

// What a file being played adds to a connection (em_jogo.cpp): something
// to do within each outermost commit, after it, and when the connection
// closes. The connection knows no more of it than this.
class Acompanhamento {
public:
    virtual ~Acompanhamento() = default;
    // Within the outermost transaction, right before it is committed.
    virtual void antes_do_commit(Database& d) = 0;
    // The commit failed: nothing of it is to be the file's.
    virtual void commit_falhou(Database& d) = 0;
    // Right after the outermost commit.
    virtual void depois_do_commit(Database& d) = 0;
    // Before the connection closes: whether the file alone then holds
    // everything committed.
    virtual bool ao_fechar(Database& d) = 0;
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
    // The page sizes a file of this length may have, the likelier first:
    // a length that is no whole number of new pages can only be an old file.
    static std::vector<int> paginas_possiveis(std::uintmax_t tamanho);
    // Opens an existing database file. Throws Erro_BD with a clear text when
    // the file is missing, is not a database, the password is wrong, or the
    // file is locked; nothing is written to the file in any of those cases.
    static std::unique_ptr<Database> abrir(const std::string& caminho, const std::string& ligacao,
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

    // A file being played (em_jogo.cpp): every write on its own becomes a
    // commit of its own, and each outermost commit and the close go through
    // `a`.
    void acompanhar(std::unique_ptr<Acompanhamento> a) { acompanhamento_ = std::move(a); }
    bool acompanhada() const { return acompanhamento_ != nullptr; }

    // The game's hold on its file (bloqueio_jogo.h), kept while this
    // connection has it and let go when it closes.
    void segurar(Bloqueio_Jogo b) { bloqueio_ = std::move(b); }

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
    // game alone afterwards: part of it was left in its log beside it.
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
    void configurar(const std::string& ligacao);
    static std::string chave_guardada(const std::string& senha, const std::string& caminho);
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
    std::unique_ptr<Acompanhamento> acompanhamento_;
    Bloqueio_Jogo bloqueio_;
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
    std::vector<std::string> funcoes_;   // the functions made on this connection
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

// A snapshot of a query's rows kept in memory, with each row's identity
// (the engine's rowid) when updatable. Edits, additions and deletions go
// straight to the database; a deleted row is skipped by later moves.
class Recordset {
public:
    Recordset() = default;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;

    bool Eof() const;            // past the last row (or empty)
    bool Bof() const;            // before the first row (or empty)
    int RecordCount() const;     // rows not deleted
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int n);            // relative to the current row

    // Current row's field, by name without regard to case.
    const Valor& operator[](const std::string& campo) const;
    const Valor& campo(int indice) const;
    int n_campos() const { return static_cast<int>(nomes_.size()); }
    const std::string& nome_campo(int i) const { return nomes_[i]; }
    long long rowid() const;     // identity of the current row

    void AddNew();
    void Edit();
    void set(const std::string& campo, const Valor& v);
    void Update();
    void CancelUpdate();
    void Delete();
    void Close();
    bool actualizavel() const { return !tabela_.empty(); }

private:
    friend class Database;
    enum class Edicao { Nenhuma, Nova, Alterar };
    int indice_campo(const std::string& campo) const;
    void exigir_registo() const;
    void saltar_apagados(int passo);

    Database* db_ = nullptr;
    std::string tabela_;                       // table updated; empty: read-only
    std::vector<std::string> nomes_;           // result column names
    std::vector<std::string> colunas_base_;    // table column per result column ("" if none)
    std::vector<std::vector<Valor>> linhas_;
    std::vector<long long> rowids_;
    std::vector<char> apagada_;
    int pos_ = 0;                              // -1 BOF, size() EOF
    int vivas_ = 0;
    Edicao edicao_ = Edicao::Nenhuma;
    std::vector<std::pair<std::string, Valor>> pendentes_;
};

} // namespace gv::db
