// The engine reaches a game's files through its place: the names it is
// given lead through the folder held, and its opening and removal of a
// file there are the place's own.

#include "platform/db/lugar.h"

#include "platform/db/alternativas.h"
#include "platform/db/lugar_interno.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

constexpr std::string_view Pela_Pasta = "/proc/self/fd/";

// Whether the system reaches a file through an open descriptor by name.
bool pelo_descritor() {
    static const bool ha = ::access("/proc/self/fd", X_OK) == 0;
    return ha;
}

// The place a name given to the engine leads through, and the file's name
// in its folder.
std::shared_ptr<Lugar_Jogo> lugar_do_caminho(const char* caminho, std::string& nome) {
    std::string_view c(caminho);
    if (c.substr(0, Pela_Pasta.size()) != Pela_Pasta) return nullptr;
    c.remove_prefix(Pela_Pasta.size());
    const auto barra = c.find('/');
    int fd = -1;
    if (barra == std::string_view::npos || std::from_chars(c.data(), c.data() + barra, fd).ptr != c.data() + barra)
        return nullptr;
    nome = std::string(c.substr(barra + 1));
    if (nome.empty() || nome.find('/') != std::string::npos) return nullptr;
    return lugar_da_pasta(fd);
}

sqlite3_syscall_ptr abrir_do_sistema = nullptr, apagar_do_sistema = nullptr;

int abrir_pelo_lugar(const char* caminho, int flags, int modo) {
    std::string nome;
    if (auto l = lugar_do_caminho(caminho, nome)) return l->abrir_no_motor(nome, flags, modo);
    return reinterpret_cast<int (*)(const char*, int, int)>(abrir_do_sistema)(caminho, flags, modo);
}

int apagar_pelo_lugar(const char* caminho) {
    std::string nome;
    if (auto l = lugar_do_caminho(caminho, nome)) return l->apagar_no_motor(nome);
    return reinterpret_cast<int (*)(const char*)>(apagar_do_sistema)(caminho);
}

} // namespace

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
                   SQLITE_OK &&
               instalar_vigia(unix_);
    }();
    (void)feito;
}

std::string Lugar_Jogo::no_motor(const std::string& nome) const {
    if (!pelo_descritor()) return (fs::path(caminho_).parent_path() / nome).string();
    return std::string(Pela_Pasta) + std::to_string(pasta_) + "/" + nome;
}

int Lugar_Jogo::abrir_no_motor(const std::string& nome, int flags, int modo) {
    try {
        if (nome == nome_ && ficheiro_.tomado()) {
            const int fd = reabrir(ficheiro_.descritor(), flags);
            if (fd >= 0) vigiar_descritor(fd, shared_from_this(), Vigia::Ficheiro);
            return fd;
        }
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
            // Whether the engine was making it or looking for one to play back.
            recusar(Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho_ + " apareceu " + nome, Erro_BD::Tipo::Sobra_Alheia,
                            caminho_ + Sufixos[l]));
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
        // A journal begins a transaction of the engine's own (the close's
        // change of mode, say): a step, looked at as one.
        if (l == Diario) deixado();
    }
    // One held is the game's own, wherever its name is now: what it holds
    // goes into the file held. A log taken now is seen by the watch as it
    // is: made, or found empty.
    const int fd = reabrir(lado.descritor(), flags);
    if (fd >= 0 && l == Log) {
        if (!vigia_.visto(Vigia::Log) && vigia_.alterado() < 0) vigia_.tomar(Vigia::Log, lado.descritor());
        vigiar_descritor(fd, shared_from_this(), Vigia::Log);
    }
    return fd;
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
            if (!(nomeia() && lado.nomeia(pasta_, nome) && remover_lado(l)) &&
                (::ftruncate(lado.descritor(), 0) != 0 || ::fsync(lado.descritor()) != 0)) {
                return -1;
            }
            lado = Bloqueio_Jogo();
            if (l == Log) vigia_.esquecer(Vigia::Log);
            return 0;
        }
        return ::unlinkat(pasta_, nome.c_str(), 0);
    } catch (const std::exception&) {
        errno = EIO;
        return -1;
    }
}

Erro_BD Lugar_Jogo::alterado_por_outro() const {
    const bool log = vigia_.alterado() == Vigia::Log;
    const std::string qual = log ? caminho_ + Sufixos[Log] : caminho_;
    Erro_BD e(ERRO_FICHEIRO, "Outro programa escreveu em " + qual + " enquanto o jogo estava aberto",
              Erro_BD::Tipo::Ficheiro_Alterado, qual);
    if (log && log_por_passar_) e.com_log_por_passar();
    if (vigia_.ambos()) e.com_partes_de_ambos();
    if (log && vigia_.a_meio()) e.com_ficheiro_a_meio();
    if (log && !log_de_parte_.empty()) e.com_posto_de_parte(log_de_parte_);
    return e;
}

void Lugar_Jogo::soltar_motor() {
    struct stat f {}, l {};
    const bool com_f = ficheiro_.tomado() && ::fstat(ficheiro_.descritor(), &f) == 0;
    const bool com_l = ao_lado_[Log].tomado() && ::fstat(ao_lado_[Log].descritor(), &l) == 0;
    // Every other descriptor of the two in this process is the engine's.
    const int nada = ::memfd_create("golvantario-largado", MFD_CLOEXEC);
    DIR* d = nada >= 0 ? ::opendir("/proc/self/fd") : nullptr;
    std::vector<int> do_motor;
    while (const dirent* e = d ? ::readdir(d) : nullptr) {
        int fd = -1;
        struct stat st {};
        const std::string_view n(e->d_name);
        if (std::from_chars(n.data(), n.data() + n.size(), fd).ptr != n.data() + n.size() || fd == ::dirfd(d) ||
            fd == nada || fd == ficheiro_.descritor() || fd == ao_lado_[Log].descritor() || ::fstat(fd, &st) != 0)
            continue;
        if ((com_f && mesmo(st, f)) || (com_l && mesmo(st, l))) do_motor.push_back(fd);
    }
    if (d) ::closedir(d);
    for (int fd : do_motor) {
        esquecer_descritor(fd);
        ::dup3(nada, fd, O_CLOEXEC);
    }
    if (nada >= 0) ::close(nada);
}

void Lugar_Jogo::largar_alterados() {
    // The log goes unless the other wrote it, when it is set aside as it
    // is; the journal, whose pages would be put back over what the other
    // wrote, goes.
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l];
        if (ao_lado_[l].tomado() && ao_lado_[l].nomeia(pasta_, nome)) {
            if (l == Log && vigia_.alterado() == Vigia::Log) {
                for (int n = 1; n < 100 && log_de_parte_.empty(); ++n) {
                    const std::string parte = nome + ".alterado" + (n > 1 ? "-" + std::to_string(n) : "");
                    if (renomear_sem_substituir(pasta_, nome, parte) == 0) log_de_parte_ = parte;
                    else if (errno != EEXIST) break;
                }
                de_parte_por_dizer_ = !log_de_parte_.empty();
                if (de_parte_por_dizer_) ::fsync(pasta_);
            } else {
                remover_lado(l);
            }
        }
        ao_lado_[l] = Bloqueio_Jogo();
    }
    vigia_.esquecer(Vigia::Log);
}

void Lugar_Jogo::deixado() { vigia_.acabar(); }

bool Lugar_Jogo::alterado() { return !vigia_.comecar(); }

} // namespace gv::db
