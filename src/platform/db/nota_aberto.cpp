// The note of a game open in a window: made exclusively, read by every
// window before it holds the game, and gone with the game.

#include "platform/db/nota_aberto.h"

#include "platform/db/capacidades.h"
#include "platform/db/erro_bd.h"
#include "platform/db/interno.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <tuple>
#include <thread>

namespace gv::db {

namespace {

constexpr std::string_view Cabeca = "Golvantario 99: um jogo aberto.\n";

struct Dono {
    std::string maquina, arranque, sal;
    long processo = 0;
};

std::string esta_maquina() {
    char n[256] = {};
    if (::gethostname(n, sizeof n - 1) != 0) return "?";
    return n;
}

// This boot of this machine: a note of an earlier one is no window's now.
std::string este_arranque() {
    std::string id;
    std::getline(std::ifstream("/proc/sys/kernel/random/boot_id"), id);
    return id;
}

std::string escrever(const Dono& d) {
    return std::string(Cabeca) + "maquina=" + d.maquina + "\narranque=" + d.arranque +
           "\nprocesso=" + std::to_string(d.processo) + "\nsal=" + d.sal + "\n";
}

// The note's owner, from its text; false when it is none of the game's.
bool ler(const std::string& texto, Dono& d) {
    if (texto.compare(0, Cabeca.size(), Cabeca) != 0) return false;
    std::size_t i = Cabeca.size();
    while (i < texto.size()) {
        const auto fim = texto.find('\n', i);
        if (fim == std::string::npos) return false;   // cut short as it was written
        const std::string linha = texto.substr(i, fim - i);
        const auto igual = linha.find('=');
        const std::string chave = linha.substr(0, igual), valor = igual == std::string::npos ? "" : linha.substr(igual + 1);
        if (chave == "maquina") d.maquina = valor;
        if (chave == "arranque") d.arranque = valor;
        if (chave == "processo") d.processo = std::atol(valor.c_str());
        if (chave == "sal") d.sal = valor;
        i = fim + 1;
    }
    return !d.maquina.empty() && d.processo > 0;
}

// The note's text, when there is one: empty when it is empty, nullopt-like
// `ha` false when there is none.
std::string ler_nota(int pasta, const std::string& nome, bool& ha) {
    const int fd = ::openat(pasta, nome.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    ha = fd >= 0;
    if (fd < 0) return {};
    std::string t(4096, '\0');
    t.resize(ler_em(fd, t.data(), t.size(), 0));
    ::close(fd);
    return t;
}

// Whether the text begins as a note does, or is a beginning of one.
bool como_nota(const std::string& t) {
    return t.size() <= Cabeca.size() ? Cabeca.substr(0, t.size()) == t : t.compare(0, Cabeca.size(), Cabeca) == 0;
}

bool vivo(long processo) { return ::kill(static_cast<pid_t>(processo), 0) == 0 || errno == EPERM; }

// The note removed, only while it still says what was read.
void remover_se(int pasta, const std::string& nome, const std::string& lido) {
    bool ha = false;
    if (ler_nota(pasta, nome, ha) == lido && ha) ::unlinkat(pasta, nome.c_str(), 0);
}

} // namespace

std::shared_ptr<Nota_Aberto> Nota_Aberto::tomar(int pasta, const std::string& nome, const std::string& escolhido,
                                                const std::string& sal) {
    const std::string nota = nome + Sufixo_Nota;
    // This process's own, by its folder and name.
    static std::mutex guarda;
    static std::map<std::tuple<dev_t, ino_t, std::string>, std::weak_ptr<Nota_Aberto>> deste_processo;
    struct stat p {};
    if (::fstat(pasta, &p) != 0) return nullptr;
    const auto chave = std::make_tuple(p.st_dev, p.st_ino, nota);
    std::lock_guard<std::mutex> g(guarda);
    if (auto n = deste_processo[chave].lock()) return n;
    const Dono eu{esta_maquina(), este_arranque(), sal, static_cast<long>(::getpid())};
    const bool fazer = !capacidades(pasta).trincos_partilhados;
    for (int vez = 0; vez < 5; ++vez) {
        if (fazer) {
            const int fd = ::openat(pasta, nota.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (fd >= 0) {
                std::shared_ptr<Nota_Aberto> n(new Nota_Aberto());
                n->pasta_ = ::fcntl(pasta, F_DUPFD_CLOEXEC, 0);
                n->nome_ = nota;
                n->escrito_ = escrever(eu);
                ponto_de_falha("nota.feita");
                const bool escrita = ::pwrite(fd, n->escrito_.data(), n->escrito_.size(), 0) ==
                                     static_cast<ssize_t>(n->escrito_.size());
                ::close(fd);
                // One that cannot be written protects nothing: it goes.
                if (!escrita) {
                    ::unlinkat(pasta, nota.c_str(), 0);
                    return nullptr;
                }
                deste_processo[chave] = n;
                return n;
            }
            // A folder that takes no note: the game is refused there
            // anyway, or has nothing to be kept from.
            if (errno != EEXIST) return nullptr;
        }
        bool ha = false;
        std::string lido = ler_nota(pasta, nota, ha);
        if (!ha) {
            if (!fazer) return nullptr;
            continue;   // gone meanwhile
        }
        // Being written right now, or cut short by a kill: looked at again.
        if (lido.empty() || lido.back() != '\n') {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const std::string de_novo = ler_nota(pasta, nota, ha);
            if (!ha) continue;
            if (de_novo == lido) {
                if (!como_nota(lido)) return nullptr;   // a file of the player's, left as it is
                remover_se(pasta, nota, lido);
                continue;
            }
            lido = de_novo;
        }
        Dono outro;
        if (!ler(lido, outro)) return nullptr;   // not a note: left as it is
        // Of a window whose game is no longer under the name.
        const bool outro_jogo = !outro.sal.empty() && outro.sal != sal;
        if (outro_jogo || outro.maquina == eu.maquina) {
            // Of a window of this machine gone, or of an earlier boot.
            if (outro_jogo || outro.arranque != eu.arranque || !vivo(outro.processo)) {
                remover_se(pasta, nota, lido);
                continue;
            }
            throw Erro_BD(SQLITE_BUSY, "O jogo está aberto noutra janela: " + nome, Erro_BD::Tipo::Noutra_Janela,
                          escolhido);
        }
        Erro_BD e(SQLITE_BUSY, "O jogo está aberto noutra máquina (" + outro.maquina + "): " + nome,
                  Erro_BD::Tipo::Noutra_Maquina, escolhido);
        e.com_maquina(outro.maquina, nota);
        throw e;
    }
    return nullptr;
}

void Nota_Aberto::renovar(const std::string& sal) {
    Dono eu;
    if (!ler(escrito_, eu) || eu.sal == sal) return;
    eu.sal = sal;
    const std::string novo = escrever(eu);
    bool ha = false;
    if (ler_nota(pasta_, nome_, ha) != escrito_ || !ha) return;   // no longer this window's
    const int fd = ::openat(pasta_, nome_.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    if (::pwrite(fd, novo.data(), novo.size(), 0) == static_cast<ssize_t>(novo.size()) &&
        ::ftruncate(fd, static_cast<off_t>(novo.size())) == 0)
        escrito_ = novo;
    ::close(fd);
}

Nota_Aberto::~Nota_Aberto() {
    if (pasta_ < 0) return;
    remover_se(pasta_, nome_, escrito_);
    ::close(pasta_);
}

} // namespace gv::db
