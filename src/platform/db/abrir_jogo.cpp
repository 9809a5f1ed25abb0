// The load's policy: which refusals come first, what is judged from the
// bytes, what the engine is shown in a private copy, and how the game's
// own side file is taken into the file before anything else is written.

#include "platform/db/abrir_jogo.h"

#include "platform/db/caminho_real.h"
#include "platform/db/chave.h"
#include "platform/db/continuidade.h"
#include "platform/db/em_jogo.h"
#include "platform/db/obras.h"
#include "platform/db/interno.h"
#include "platform/db/pagina_cifrada.h"
#include "platform/db/pasta_temporaria.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

// No log or journal of the game's grows near this, nor past many times the
// game's own size.
constexpr std::uintmax_t Maior_Sobra = std::uintmax_t(1) << 30;

// A file open to be read, closed once when it goes.
class Descritor {
public:
    explicit Descritor(int fd) : fd_(fd) {}
    ~Descritor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descritor(Descritor&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Descritor(const Descritor&) = delete;
    Descritor& operator=(const Descritor&) = delete;
    Descritor& operator=(Descritor&&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// A file beside the game under a log's or journal's name, open to be read.
struct Ficheiro_Ao_Lado {
    std::string caminho;
    bool log;
    Descritor aberto;
    std::uintmax_t tamanho = 0;
};

[[noreturn]] void falha_do_sistema(const std::string& caminho) {
    const std::error_code ec(errno, std::generic_category());
    throw Erro_BD(ERRO_FICHEIRO, "Não foi possível ler " + caminho + ": " + ec.message(), tipo_do_sistema(ec), caminho);
}

[[noreturn]] void nao_e_ficheiro(const std::string& caminho, const std::string& s) {
    throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + s + ", que não é um ficheiro comum",
                  Erro_BD::Tipo::Sobra_Estranha, s);
}

// What is beside the game, opened without following a link and without
// waiting on a pipe, each checked to be a regular file of a size the game
// could have written.
std::vector<Ficheiro_Ao_Lado> ao_lado_de(const std::string& caminho, std::uintmax_t tamanho_jogo) {
    std::vector<Ficheiro_Ao_Lado> r;
    for (const char* sufixo : {"-wal", "-journal"}) {
        const std::string s = caminho + sufixo;
        struct stat st {};
        if (::lstat(s.c_str(), &st) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) continue;
            falha_do_sistema(s);
        }
        if (!S_ISREG(st.st_mode)) nao_e_ficheiro(caminho, s);
        const int fd = ::open(s.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ELOOP) nao_e_ficheiro(caminho, s);
            falha_do_sistema(s);
        }
        r.push_back({s, std::string(sufixo) == "-wal", Descritor(fd)});
        if (::fstat(fd, &st) != 0) falha_do_sistema(s);
        if (!S_ISREG(st.st_mode)) nao_e_ficheiro(caminho, s);
        // The log of a game another window plays: the game that had this
        // name before, moved or replaced since.
        if (segura_noutra_janela(fd)) sobra_noutra_janela(caminho, s);
        r.back().tamanho = static_cast<std::uintmax_t>(st.st_size);
        if (r.back().tamanho > std::max(Maior_Sobra, 16 * tamanho_jogo))
            throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + s + ", grande demais",
                          Erro_BD::Tipo::Sobra_Grande, s);
    }
    return r;
}

// The key of the file open at fd, from the salt it begins with; nothing
// without a password, a salt or the engine's way of deriving keys.
std::optional<Cifra_Paginas> cifra_de(int fd, const std::string& ligacao) {
    const std::string senha = senha_da_ligacao(ligacao);
    unsigned char sal[chave::Tamanho_Sal];
    if (senha.empty() || ler_em(fd, sal, sizeof sal, 0) != sizeof sal) return std::nullopt;
    return Cifra_Paginas::de(senha, sal);
}

// What the game file's first page tells: read from its start.
Identidade identidade_de(int fd, std::uintmax_t tamanho, const Cifra_Paginas* cifra) {
    const auto paginas = Database::paginas_possiveis(tamanho);
    std::vector<unsigned char> inicio(static_cast<std::size_t>(*std::max_element(paginas.begin(), paginas.end())));
    const std::size_t lidos = cifra ? ler_em(fd, inicio.data(), inicio.size(), 0) : 0;
    return identidade(inicio.data(), lidos, tamanho, cifra);
}

// The file alone, opened to be played. One the engine takes for no
// database of ours but whose first page reads under its key is a game of
// ours, damaged (cut short, say), and named so.
std::unique_ptr<Database> abrir_sozinho(const std::string& caminho, const std::string& ligacao,
                                        std::uintmax_t tamanho) {
    try {
        auto d = Database::abrir(caminho, ligacao, Modo::Leitura_Escrita, {0, true});
        // Ending inside a page, with no log beside it to hold that page: cut
        // short.
        if (tamanho % static_cast<std::uintmax_t>(d->pagina()) != 0)
            throw Erro_BD(SQLITE_CORRUPT, "O ficheiro está cortado a meio de uma página: " + caminho,
                          Erro_BD::Tipo::Danificada, caminho);
        return d;
    } catch (const Erro_BD& e) {
        if (e.tipo() != Erro_BD::Tipo::Nao_E_Base) throw;
        const int fd = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw;
        const Descritor aberto(fd);
        const auto cifra = cifra_de(fd, ligacao);
        const Identidade id = identidade_de(fd, tamanho, cifra ? &*cifra : nullptr);
        if (!id.lida) throw;
        throw Erro_BD(SQLITE_CORRUPT, "O ficheiro está danificado: " + caminho, Erro_BD::Tipo::Danificada, caminho);
    }
}

[[noreturn]] void alheia(const std::string& caminho, const std::string& sobra, const std::string& porque) {
    throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + sobra + ", que não é seu: " + porque,
                  Erro_BD::Tipo::Sobra_Alheia, sobra);
}

// A game is played where its journal and its log can be made beside it.
void exigir_pasta_gravavel(const std::string& caminho) {
    const std::string pasta = fs::path(caminho).parent_path().string();
    if (pasta_so_de_leitura(pasta))
        throw Erro_BD(SQLITE_READONLY, "A pasta " + (pasta.empty() ? "." : pasta) + " só pode ser lida",
                      Erro_BD::Tipo::Pasta_So_Leitura, caminho);
}

// Whether the file alone, in a private copy, reads whole.
bool le_se_bem_sozinho(const std::string& caminho, const std::string& ligacao, Copia_Privada& copia) {
    try {
        auto d = Database::abrir(copia.copiar(caminho, "so/" + fs::path(caminho).filename().string()), ligacao);
        return d->valor("PRAGMA integrity_check").texto() == "ok";
    } catch (const Erro_BD&) {
        return false;
    }
}

[[noreturn]] void movido(const std::string& caminho) { throw ficheiro_movido(caminho); }

// The file the engine opened, held by the game: the one its name names.
void segurar(Database& d, Bloqueio_Jogo dono, const std::string& caminho) {
    d.segurar(std::move(dono));
    if (d.nome_mudou()) movido(caminho);
}

// The open game with its commits marked, before anything is written to it.
// The file is in its journal's mode, held by this window: a shared index
// beside it is a killed load's, and goes.
void preparar(Database& d, const std::string& caminho) {
    marcar_commits(d);
    if (d.nome_mudou()) movido(caminho);
    struct stat st {};
    if (::lstat((caminho + "-shm").c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink((caminho + "-shm").c_str());
}


// The load of the file the path names, `caminho` being that file itself.
Jogo_Aberto abrir_ficheiro(const std::string& caminho, const std::string& nome, const std::string& ligacao,
                           const std::function<bool(Database&)>& aceitar) {
    Jogo_Aberto r;
    std::error_code ec;
    if (!fs::is_regular_file(caminho, ec))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + caminho, Erro_BD::Tipo::Sem_Ficheiro, caminho);
    exigir_pasta_gravavel(caminho);
    Bloqueio_Jogo dono = Bloqueio_Jogo::tomar(caminho);
    const bool varios_nomes = dono.nomes() > 1;
    // What a load killed while it looked left in the temporary folder goes
    // with the next load, whatever that one finds.
    limpar_copias_orfas();
    const std::uintmax_t tamanho = fs::file_size(caminho, ec);
    const std::vector<Ficheiro_Ao_Lado> ao_lado = ao_lado_de(caminho, ec ? 0 : tamanho);
    if (ao_lado.empty()) {
        // Held alone from the first read: a file left in the log's mode
        // makes no shared index beside it.
        auto d = abrir_sozinho(caminho, ligacao, tamanho);
        if (!aceitar(*d)) return r;
        if (varios_nomes) {
            r.reescrito = true;
            d = escrever_de_novo(*d, caminho, nome, ligacao, dono);
        } else {
            segurar(*d, std::move(dono), caminho);
        }
        // A file left in the log's mode with its log gone away is given its
        // journal back before anything is written to it.
        sair_do_log(*d);
        preparar(*d, caminho);
        r.base = std::move(d);
        return r;
    }
    // The file is held alone from its first read, its log's index in
    // memory: no shared index file is made beside the game, whatever mode
    // a journal played back leaves it in.
    Abertura como{0, true};
    {
        // Nothing is copied while another program writes the file.
        Leitura_Partilhada leitura(caminho);
        Copia_Privada copia;
        ponto_de_falha("carregar.copia");

        const std::optional<Cifra_Paginas> cifra = cifra_de(leitura.descritor(), ligacao);
        const Cifra_Paginas* chave = cifra ? &*cifra : nullptr;
        const Identidade id = identidade_de(leitura.descritor(), tamanho, chave);
        if (id.paginas.size() == 1) como.pagina = id.paginas.front();

        // Each judged by its bytes before the engine is shown it.
        std::string nomeado;   // the one a refusal names: what the engine would take
        bool dono_incerto = false, danificada = false, cortada = false;
        for (const Ficheiro_Ao_Lado& f : ao_lado) {
            Decisao d;
            if (f.log) {
                const Leitura_Log l = ler_log(f.aberto.fd(), chave, id.paginas.front());
                d = decidir(id, l);
                if (l.cabecalho) como.pagina = l.pagina;
                if (d.perdidos) r.log_perdido = f.caminho;
            } else {
                const Leitura_Diario j = ler_diario(f.aberto.fd(), f.tamanho, chave, id.paginas.front());
                d = decidir(id, j);
                if (j.quente && j.cabecalho) como.pagina = j.pagina;
            }
            if (d.veredicto == Veredicto::Alheia) alheia(caminho, f.caminho, d.porque);
            if (d.veredicto != Veredicto::Nada && nomeado.empty()) nomeado = f.caminho;
            danificada = danificada || d.veredicto == Veredicto::Danificada;
            cortada = cortada || d.cortada;
            dono_incerto = dono_incerto || d.dono_incerto;
        }
        if (nomeado.empty()) nomeado = r.log_perdido.empty() ? ao_lado.front().caminho : r.log_perdido;

        // The file with what is beside it, as the engine reads it.
        std::unique_ptr<Database> par;
        bool le_se_bem = false;
        if (!danificada) {
            const std::string nome = fs::path(caminho).filename().string();
            const std::string copia_jogo = copia.copiar(caminho, "par/" + nome);
            for (const Ficheiro_Ao_Lado& f : ao_lado)
                copia.copiar(f.caminho, "par/" + nome + f.caminho.substr(caminho.size()));
            try {
                par = Database::abrir(copia_jogo, ligacao, Modo::Leitura_Escrita, {como.pagina, false});
                le_se_bem = par->valor("PRAGMA integrity_check").texto() == "ok";
            } catch (const Erro_BD&) {
                // Pages the file's key cannot read, or damage nothing mends.
            }
        }
        if (!le_se_bem) {
            par.reset();
            // The file's own side file, damaged, is named, and whether the
            // file stands without it; other damage nothing mends is the file's.
            const bool sozinho = le_se_bem_sozinho(caminho, ligacao, copia);
            // A side file torn at its tail that leaves the game unread was
            // cut short beyond what a cut leaves: damaged.
            danificada = danificada || cortada;
            if (!sozinho && !danificada)
                throw Erro_BD(SQLITE_CORRUPT, "O ficheiro está danificado: " + caminho, Erro_BD::Tipo::Danificada,
                              caminho);
            if (dono_incerto && !danificada) alheia(caminho, nomeado, "o jogo com ele não se lê inteiro");
            throw Erro_BD(SQLITE_CORRUPT, "Ao lado de " + caminho + " está " + nomeado + ", danificado",
                          Erro_BD::Tipo::Sobra_Danificada, nomeado,
                          sozinho ? Erro_BD::Tipo::Geral : Erro_BD::Tipo::Danificada);
        }
        if (!aceitar(*par)) return {};
        if (varios_nomes) {
            // Written anew from the private copy, what is beside it taken.
            r.reescrito = true;
            r.base = escrever_de_novo(*par, caminho, nome, ligacao, dono);
        }
    }
    if (r.base) {
        preparar(*r.base, caminho);
        return r;
    }
    // Taken into the file itself: a journal is played back as the file is
    // read; a log is moved in and gone before anything else is written.
    // The file alone then holds the game.
    auto d = Database::abrir(caminho, ligacao, Modo::Leitura_Escrita, como);
    segurar(*d, std::move(dono), caminho);
    ponto_de_falha("carregar.tomar");
    sair_do_log(*d);
    preparar(*d, caminho);
    r.base = std::move(d);
    return r;
}

} // namespace

std::unique_ptr<Database> escrever_de_novo(Database& origem, const std::string& caminho, const std::string& nome,
                                           const std::string& ligacao, const Bloqueio_Jogo& dono,
                                           const std::function<void()>& antes_de_substituir) {
    // Nobody else makes a game this window holds: another window may only
    // look at the making for a moment, and is waited for.
    const Obra obra(caminho, nome, Espera_Obra_Carregar);
    obra.limpar();
    ponto_de_falha("compactar");
    const int pagina = origem.pagina();
    origem.exportar(obra.a_cifrar(), ligacao);
    // Held before it takes the name, the old file's hold kept until then.
    Bloqueio_Jogo novo = Bloqueio_Jogo::tomar(obra.a_cifrar());
    if (antes_de_substituir) antes_de_substituir();
    // Only the game held is replaced, with what is beside it.
    if (dono.tomado() && !dono.nomeia(caminho)) movido(caminho);
    substituir_ficheiro(obra.a_cifrar(), caminho);
    auto d = Database::abrir(caminho, ligacao, Modo::Leitura_Escrita, {pagina, true});
    segurar(*d, std::move(novo), caminho);
    return d;
}

bool pasta_so_de_leitura(const std::string& pasta) {
    const std::string p = pasta.empty() ? "." : pasta;
    return ::faccessat(AT_FDCWD, p.c_str(), W_OK | X_OK, AT_EACCESS) != 0 &&
           (errno == EROFS || errno == EACCES || errno == EPERM);
}

Jogo_Aberto abrir_jogo(const std::string& caminho, const std::string& escolhido, const std::string& ligacao,
                       const std::function<bool(Database&)>& aceitar) {
    std::error_code ec;
    const fs::path junto = fs::absolute(escolhido, ec).lexically_normal();
    try {
        return abrir_ficheiro(caminho, escolhido, ligacao, aceitar);
    } catch (const Erro_BD& e) {
        using T = Erro_BD::Tipo;
        // A side file not beside the game as the player chose it is named
        // with its folder: the one beside the chosen name is another.
        const bool ao_lado = e.ficheiro().size() > caminho.size() && e.ficheiro().rfind(caminho, 0) == 0;
        if (ao_lado && junto != fs::path(caminho)) {
            Erro_BD com_pasta = e;
            com_pasta.nomear_com_pasta();
            throw com_pasta;
        }
        // The game is named as the player chose it; a read-only folder is
        // the real file's.
        if (e.ficheiro() != caminho || e.tipo() == T::Pasta_So_Leitura || caminho == escolhido) throw;
        throw Erro_BD(e.numero(), e.descricao(), e.tipo(), escolhido, e.causa());
    }
}

} // namespace gv::db
