// The game's place: its folder held, its file's names checked, the engine's
// files handed over, made and removed through it, and a game whose file
// lost its name found again or saved.

#include "platform/db/lugar.h"

#include "platform/db/formato_log.h"
#include "platform/db/interno.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <string_view>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

bool mesmo(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Every place by its folder's descriptor: the names the engine is given
// lead through it.
std::mutex guarda_lugares;
std::map<int, std::weak_ptr<Lugar_Jogo>>& lugares() {
    static std::map<int, std::weak_ptr<Lugar_Jogo>> m;
    return m;
}

constexpr std::string_view Pela_Pasta = "/proc/self/fd/";

// Whether the system reaches a file through an open descriptor by name.
bool pelo_descritor() {
    static const bool ha = ::access("/proc/self/fd", X_OK) == 0;
    return ha;
}

// The place a name given to the engine leads through, and the file's name
// in its folder.
std::shared_ptr<Lugar_Jogo> de_quem(const char* caminho, std::string& nome) {
    std::string_view c(caminho);
    if (c.substr(0, Pela_Pasta.size()) != Pela_Pasta) return nullptr;
    c.remove_prefix(Pela_Pasta.size());
    const auto barra = c.find('/');
    int fd = -1;
    if (barra == std::string_view::npos || std::from_chars(c.data(), c.data() + barra, fd).ptr != c.data() + barra)
        return nullptr;
    nome = std::string(c.substr(barra + 1));
    if (nome.empty() || nome.find('/') != std::string::npos) return nullptr;
    std::lock_guard<std::mutex> l(guarda_lugares);
    const auto it = lugares().find(fd);
    return it == lugares().end() ? nullptr : it->second.lock();
}

sqlite3_syscall_ptr abrir_do_sistema = nullptr, apagar_do_sistema = nullptr;

int abrir_pelo_lugar(const char* caminho, int flags, int modo) {
    std::string nome;
    if (auto l = de_quem(caminho, nome)) return l->abrir_no_motor(nome, flags, modo);
    return reinterpret_cast<int (*)(const char*, int, int)>(abrir_do_sistema)(caminho, flags, modo);
}

int apagar_pelo_lugar(const char* caminho) {
    std::string nome;
    if (auto l = de_quem(caminho, nome)) return l->apagar_no_motor(nome);
    return reinterpret_cast<int (*)(const char*)>(apagar_do_sistema)(caminho);
}

// The file `nome` of the folder removed, only while it is the file `quem`.
void apagar_se(int pasta, const std::string& nome, const struct stat& quem) {
    struct stat st {};
    if (::fstatat(pasta, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(st, quem))
        ::unlinkat(pasta, nome.c_str(), 0);
}

// The file open at `de` copied whole, synced, into a new file `nome` of the
// folder: 1 made, 0 when a file has that name already (never written
// over), -1 when it could not be made whole (nothing left of it).
int copiar(int pasta, int de, const std::string& nome) {
    const int fd = ::openat(pasta, nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? 0 : -1;
    struct stat feita {};
    bool inteira = ::fstat(fd, &feita) == 0;
    try {
        inteira = inteira && copiar_inteiro(de, fd) == Copiado::Inteiro;
    } catch (const std::exception&) {
        inteira = false;   // a read that failed, as a test makes it
    }
    inteira = inteira && ::fsync(fd) == 0;
    ::close(fd);
    if (!inteira) apagar_se(pasta, nome, feita);
    return inteira ? 1 : -1;
}

[[noreturn]] void falha_do_sistema(const std::string& caminho) {
    const std::error_code ec(errno, std::generic_category());
    throw Erro_BD(ERRO_FICHEIRO, "Não foi possível ler " + caminho + ": " + ec.message(), tipo_do_sistema(ec), caminho);
}

[[noreturn]] void nao_e_ficheiro(const std::string& caminho, const std::string& s) {
    throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + s + ", que não é um ficheiro comum",
                  Erro_BD::Tipo::Sobra_Estranha, s);
}

} // namespace

Copiado copiar_inteiro(int de, int para) {
    struct stat origem {};
    if (::fstat(de, &origem) != 0) return Copiado::Leitura_Falhou;
    std::vector<char> bloco(1 << 16);
    for (off_t onde = 0; onde < origem.st_size;) {
        ponto_de_falha("copiar.ler");
        const auto quer = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(bloco.size()), origem.st_size - onde));
        errno = 0;
        if (ler_em(de, bloco.data(), quer, onde) != quer) return errno = errno ? errno : EIO, Copiado::Leitura_Falhou;
        for (std::size_t feito = 0; feito < quer;) {
            const ssize_t w = ::pwrite(para, bloco.data() + feito, quer - feito, onde + static_cast<off_t>(feito));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return errno = w < 0 ? errno : ENOSPC, Copiado::Escrita_Falhou;
            feito += static_cast<std::size_t>(w);
        }
        onde += static_cast<off_t>(quer);
    }
    return Copiado::Inteiro;
}

void instalar_lugares() {
    static const bool feito = [] {
        sqlite3_vfs* unix_ = sqlite3_vfs_find("unix");
        if (!unix_ || unix_->iVersion < 3 || !pelo_descritor()) return false;
        abrir_do_sistema = unix_->xGetSystemCall(unix_, "open");
        apagar_do_sistema = unix_->xGetSystemCall(unix_, "unlink");
        return abrir_do_sistema && apagar_do_sistema &&
               unix_->xSetSystemCall(unix_, "open", reinterpret_cast<sqlite3_syscall_ptr>(&abrir_pelo_lugar)) ==
                   SQLITE_OK &&
               unix_->xSetSystemCall(unix_, "unlink", reinterpret_cast<sqlite3_syscall_ptr>(&apagar_pelo_lugar)) ==
                   SQLITE_OK;
    }();
    (void)feito;
}

std::shared_ptr<Lugar_Jogo> Lugar_Jogo::alcancar(const std::string& caminho, const std::string& escolhido) {
    std::shared_ptr<Lugar_Jogo> l(new Lugar_Jogo());
    const fs::path p(caminho);
    l->caminho_ = caminho;
    l->escolhido_ = escolhido.empty() ? caminho : escolhido;
    l->nome_ = p.filename().string();
    const std::string pasta = p.parent_path().empty() ? "." : p.parent_path().string();
    l->pasta_ = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (l->pasta_ < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw Erro_BD(ERRO_FICHEIRO, "A pasta não existe: " + pasta, Erro_BD::Tipo::Sem_Pasta, pasta);
        const std::error_code ec(errno, std::generic_category());
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível abrir a pasta " + pasta + ": " + ec.message(),
                      tipo_do_sistema(ec), pasta);
    }
    std::lock_guard<std::mutex> g(guarda_lugares);
    lugares()[l->pasta_] = l;
    return l;
}

Lugar_Jogo::~Lugar_Jogo() {
    {
        std::lock_guard<std::mutex> g(guarda_lugares);
        const auto it = lugares().find(pasta_);
        if (it != lugares().end() && it->second.expired()) lugares().erase(it);
    }
    for (auto& lado : ao_lado_) lado = Bloqueio_Jogo();
    ficheiro_ = Bloqueio_Jogo();
    if (pasta_ >= 0) ::close(pasta_);
}

bool Lugar_Jogo::so_de_leitura() const {
    return ::faccessat(pasta_, ".", W_OK | X_OK, AT_EACCESS) != 0 &&
           (errno == EROFS || errno == EACCES || errno == EPERM);
}

bool Lugar_Jogo::ocupado() const {
    struct stat st {};
    return ::fstatat(pasta_, nome_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void Lugar_Jogo::segurar() {
    struct stat st {};
    if (::fstatat(pasta_, nome_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + caminho_, Erro_BD::Tipo::Sem_Ficheiro, caminho_);
    ficheiro_ = Bloqueio_Jogo::tomar(pasta_, nome_, escolhido_);
}

void Lugar_Jogo::segurar(Bloqueio_Jogo b) { ficheiro_ = std::move(b); }

std::uintmax_t Lugar_Jogo::tamanho() const {
    struct stat st {};
    const bool visto = ficheiro_.tomado() ? ::fstat(ficheiro_.descritor(), &st) == 0
                                          : ::fstatat(pasta_, nome_.c_str(), &st, 0) == 0;
    return visto ? static_cast<std::uintmax_t>(st.st_size) : 0;
}

bool Lugar_Jogo::nomeia() const { return ficheiro_.nomeia(pasta_, nome_); }

unsigned Lugar_Jogo::nomes() const { return ficheiro_.nomes(); }

std::string Lugar_Jogo::no_motor(const std::string& nome) const {
    if (!pelo_descritor()) return (fs::path(caminho_).parent_path() / nome).string();
    return std::string(Pela_Pasta) + std::to_string(pasta_) + "/" + nome;
}

std::vector<Lugar_Jogo::Ao_Lado> Lugar_Jogo::ver_ao_lado() {
    std::vector<Ao_Lado> r;
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l], s = caminho_ + Sufixos[l];
        struct stat st {};
        if (::fstatat(pasta_, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) continue;
            falha_do_sistema(s);
        }
        if (!S_ISREG(st.st_mode)) nao_e_ficheiro(caminho_, s);
        // Without following a link or waiting on a pipe put there meanwhile.
        const int fd = ::openat(pasta_, nome.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno == ELOOP) nao_e_ficheiro(caminho_, s);
        if (fd < 0) falha_do_sistema(s);
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            nao_e_ficheiro(caminho_, s);
        }
        // The log of a game another window plays: the game that had this
        // name before, moved or replaced since.
        Bloqueio_Jogo b = Bloqueio_Jogo::do_descritor(fd);
        if (!b.tomado()) sobra_noutra_janela(caminho_, s);
        r.push_back({s, l == Log, b.descritor(), static_cast<std::uintmax_t>(st.st_size)});
        ao_lado_[l] = std::move(b);
    }
    return r;
}

void Lugar_Jogo::remover_indice_partilhado() const {
    const std::string shm = nome_ + "-shm";
    struct stat st {};
    if (::fstatat(pasta_, shm.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        apagar_se(pasta_, shm, st);
}

bool Lugar_Jogo::log_com_commits() const {
    return ao_lado_[Log].tomado() && !ler_log(ao_lado_[Log].descritor(), nullptr, 0).commits.empty();
}

std::optional<Erro_BD> Lugar_Jogo::recusa() { return std::exchange(recusa_, std::nullopt); }

void Lugar_Jogo::recusar(Erro_BD e) { recusa_ = std::move(e); }

Erro_BD Lugar_Jogo::perdido(Perda perda) {
    Erro_BD e = ficheiro_movido(caminho_);
    e.com_paradeiro(perda, [eu = shared_from_this(), perda] { return eu->paradeiro(perda); });
    return e;
}

std::string Lugar_Jogo::pasta_agora() const {
    char ligacao[64], nome[4096];
    std::snprintf(ligacao, sizeof ligacao, "/proc/self/fd/%d", pasta_);
    const ssize_t n = ::readlink(ligacao, nome, sizeof nome);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof nome) return fs::path(caminho_).parent_path().string();
    std::string p(nome, static_cast<std::size_t>(n));
    constexpr std::string_view apagada = " (deleted)";
    if (p.size() > apagada.size() && p.compare(p.size() - apagada.size(), apagada.size(), apagada) == 0)
        p.resize(p.size() - apagada.size());
    return p;
}

std::string Lugar_Jogo::outro_nome() const {
    struct stat f {}, n {};
    if (!ficheiro_.tomado() || ::fstat(ficheiro_.descritor(), &f) != 0 || f.st_nlink == 0) return {};
    const fs::path pasta = pasta_agora();
    if (nomeia()) return (pasta / nome_).string();
    // Another name in its own folder: given, and the first removed.
    std::string achado;
    if (DIR* d = ::fdopendir(::openat(pasta_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d))
            if (e->d_ino == f.st_ino && ::fstatat(pasta_, e->d_name, &n, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(n, f)) {
                achado = e->d_name;
                break;
            }
        ::closedir(d);
    }
    if (!achado.empty()) return (pasta / achado).string();
    // Moved to another folder: where the system says it is, checked.
    char ligacao[64], nome[4096];
    std::snprintf(ligacao, sizeof ligacao, "/proc/self/fd/%d", ficheiro_.descritor());
    const ssize_t t = ::readlink(ligacao, nome, sizeof nome);
    if (t <= 0 || static_cast<std::size_t>(t) >= sizeof nome) return {};
    const std::string onde(nome, static_cast<std::size_t>(t));
    return ::stat(onde.c_str(), &n) == 0 && mesmo(n, f) ? onde : std::string();
}

bool Lugar_Jogo::guardar_copia() {
    if (!copia_.empty()) return true;
    if (!ficheiro_.tomado()) return false;
    // What the log holds past the file goes with it, so that the two read
    // as the game read.
    const bool com_log = log_com_commits();
    const fs::path p(nome_);
    for (int n = 2; n < 100; ++n) {
        const std::string nome = p.stem().string() + " (" + std::to_string(n) + ")" + p.extension().string();
        const int feita = copiar(pasta_, ficheiro_.descritor(), nome);
        if (feita < 0) return false;
        if (feita == 0) continue;
        if (com_log) {
            const int log = copiar(pasta_, ao_lado_[Log].descritor(), nome + Sufixos[Log]);
            if (log <= 0) {
                ::unlinkat(pasta_, nome.c_str(), 0);   // made here by this window: nobody else's
                if (log < 0) return false;
                continue;
            }
        }
        ::fsync(pasta_);
        copia_ = nome;
        return true;
    }
    return false;
}

Paradeiro Lugar_Jogo::paradeiro(Perda perda) {
    Paradeiro p;
    struct stat f {}, n {};
    const bool visto = ficheiro_.tomado() && ::fstat(ficheiro_.descritor(), &f) == 0;
    p.apagado = visto && f.st_nlink == 0;
    p.nome_ocupado = ::fstatat(pasta_, nome_.c_str(), &n, AT_SYMLINK_NOFOLLOW) == 0 && !(visto && mesmo(f, n));
    if (!visto || perda == Perda::Nada) return p;
    // The file itself, when it holds everything.
    if (copia_.empty() && !log_com_commits())
        if (std::string onde = outro_nome(); !onde.empty()) {
            p.onde = Paradeiro::Onde::Nome;
            p.caminho = onde;
            return p;
        }
    p.caminho = pasta_agora();
    copia_por_fazer_ = !guardar_copia();
    if (!copia_por_fazer_) {
        p.onde = Paradeiro::Onde::Copia;
        p.caminho = (fs::path(p.caminho) / copia_).string();
    }
    return p;
}

int Lugar_Jogo::abrir_no_motor(const std::string& nome, int flags, int modo) {
    try {
        if (nome == nome_ && ficheiro_.tomado()) return reabrir(ficheiro_.descritor(), flags);
        for (Lado l : {Log, Diario})
            if (nome == nome_ + Sufixos[l]) return abrir_ao_lado(l, flags, modo);
        return ::openat(pasta_, nome.c_str(), flags, modo);
    } catch (const std::exception&) {
        errno = EIO;   // a test's failure at a point here: never thrown through the engine
        return -1;
    }
}

int Lugar_Jogo::abrir_ao_lado(Lado l, int flags, int modo) {
    const std::string nome = nome_ + Sufixos[l];
    Bloqueio_Jogo& lado = ao_lado_[l];
    if (!lado.tomado()) {
        // Made here, or found empty: a log or journal this game did not make
        // and the load did not judge is another's, and is never taken.
        int fd = (flags & O_CREAT)
                     ? ::openat(pasta_, nome.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo)
                     : -1;
        const bool feito = fd >= 0;
        if (!feito) fd = ::openat(pasta_, nome.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return -1;
        Bloqueio_Jogo b = Bloqueio_Jogo::do_descritor(fd);
        if (!b.tomado()) {
            if (flags & O_CREAT) recusar(Erro_BD(SQLITE_BUSY, "Ao lado de " + caminho_ + " está " + nome +
                                                                  ", que outra janela escreve",
                                                 Erro_BD::Tipo::Sobra_Noutra_Janela, caminho_ + Sufixos[l]));
            errno = EBUSY;
            return -1;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (!feito && st.st_size != 0)) {
            if (flags & O_CREAT) recusar(Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho_ + " apareceu " + nome,
                                                 Erro_BD::Tipo::Sobra_Alheia, caminho_ + Sufixos[l]));
            errno = ENOENT;
            return -1;
        }
        ponto_de_falha(l == Log ? "lugar.log" : "lugar.diario");
        // Only beside the game held: one whose name names another file
        // now gets no log or journal of this one's.
        if (!nomeia()) {
            if (feito) apagar_se(pasta_, nome, st);
            recusar(ficheiro_movido(caminho_));
            errno = ESTALE;
            return -1;
        }
        lado = std::move(b);
    }
    // One held is the game's own, wherever its name is now: what it holds
    // goes into the file held.
    return reabrir(lado.descritor(), flags);
}

int Lugar_Jogo::apagar_no_motor(const std::string& nome) {
    try {
        for (Lado l : {Log, Diario}) {
            if (nome != nome_ + Sufixos[l]) continue;
            Bloqueio_Jogo& lado = ao_lado_[l];
            // One this game neither made nor took is not its to remove.
            if (!lado.tomado()) return 0;
            ponto_de_falha("lugar.remover");
            // What the engine removes holds nothing the file needs: where
            // it cannot be sure the name is the game's own beside the game
            // held, it is left holding nothing.
            if (nomeia() && lado.nomeia(pasta_, nome)) {
                if (::unlinkat(pasta_, nome.c_str(), 0) != 0) return -1;
            } else if (::ftruncate(lado.descritor(), 0) != 0 || ::fsync(lado.descritor()) != 0) {
                return -1;
            }
            lado = Bloqueio_Jogo();
            return 0;
        }
        return ::unlinkat(pasta_, nome.c_str(), 0);
    } catch (const std::exception&) {
        errno = EIO;
        return -1;
    }
}

void Lugar_Jogo::substituir(const std::string& de, bool havia) {
    // Held before it takes the name, the old file's hold kept until then.
    Bloqueio_Jogo novo = Bloqueio_Jogo::tomar(pasta_, de, de);
    ponto_de_falha("lugar.substituir");
    if (havia ? !nomeia() : ocupado()) throw perdido(Perda::Nada);
    std::vector<std::pair<std::string, std::string>> postos;
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l], posto = nome + ".gvantigo";
        if (ao_lado_[l].nomeia(pasta_, nome) &&
            ::renameat2(pasta_, nome.c_str(), pasta_, posto.c_str(), RENAME_NOREPLACE) == 0)
            postos.emplace_back(nome, posto);
    }
    if (::renameat2(pasta_, de.c_str(), pasta_, nome_.c_str(), havia ? 0 : RENAME_NOREPLACE) != 0) {
        const std::error_code ec(errno, std::generic_category());
        for (const auto& [nome, posto] : postos) ::renameat2(pasta_, posto.c_str(), pasta_, nome.c_str(), RENAME_NOREPLACE);
        if (ec == std::errc::file_exists) throw perdido(Perda::Nada);
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível substituir " + caminho_ + ": " + ec.message(),
                      tipo_do_sistema(ec));
    }
    ficheiro_ = std::move(novo);
    // The old file's log and journal, set aside or still under their names.
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l];
        for (const auto& [n, posto] : postos)
            if (n == nome && ao_lado_[l].nomeia(pasta_, posto)) ::unlinkat(pasta_, posto.c_str(), 0);
        if (ao_lado_[l].nomeia(pasta_, nome)) ::unlinkat(pasta_, nome.c_str(), 0);
        ao_lado_[l] = Bloqueio_Jogo();
    }
    ::fsync(pasta_);
}

} // namespace gv::db
