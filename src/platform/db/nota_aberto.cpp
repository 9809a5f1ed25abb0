// The note of a game open in a window: made whole or not at all, judged by
// every window before it plays the game, and gone with the game.

#include "platform/db/nota_aberto.h"

#include "platform/db/alternativas.h"
#include "platform/db/capacidades.h"
#include "platform/db/erro_bd.h"
#include "platform/db/interno.h"
#include "platform/db/maquina.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <tuple>

namespace gv::db {

namespace {

constexpr std::string_view Cabeca = "Golvantario 99: um jogo aberto.\n";
constexpr std::string_view Fim = "fim\n";
// The most a note holds: a few lines.
constexpr std::size_t Maior_Nota = 4096;

struct Lida {
    bool ha = false;
    int erro = 0;   // errno of a read that failed
    std::string texto;
};

// The note's text, when there is one.
Lida ler_ficheiro(int pasta, const std::string& nome) {
    Lida l;
    const int fd = ::openat(pasta, nome.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) l.erro = errno;
        return l;
    }
    l.ha = true;
    l.texto.resize(Maior_Nota + 1);
    errno = 0;
    l.texto.resize(ler_em(fd, l.texto.data(), l.texto.size(), 0));
    if (errno == EIO) l.erro = EIO;
    ::close(fd);
    return l;
}

[[noreturn]] void sem_nota(int erro, const std::string& escolhido) {
    const std::error_code ec(erro, std::generic_category());
    throw Erro_BD(ERRO_FICHEIRO, "Não foi possível escrever a nota de jogo aberto de " + escolhido + ": " + ec.message(),
                  tipo_do_sistema(ec), escolhido);
}

// `texto` written whole and synced under a temporary name of the game's own
// in the folder, held: the name; the system's cause otherwise, nothing left.
std::string escrever_temporario(int pasta, const std::string& texto, const std::string& escolhido,
                                Bloqueio_Jogo& feito) {
    std::string nome;
    feito = criar_temporario(pasta, nome);
    if (!feito.tomado()) sem_nota(errno, escolhido);
    int erro = 0;
    try {
        ponto_de_falha("nota.escrever");
        const ssize_t n = ::pwrite(feito.descritor(), texto.data(), texto.size(), 0);
        if (n != static_cast<ssize_t>(texto.size())) erro = n < 0 ? errno : ENOSPC;
        if (!erro && ::fsync(feito.descritor()) != 0) erro = errno;
    } catch (...) {
        ::unlinkat(pasta, nome.c_str(), 0);
        throw;
    }
    if (erro) {
        ::unlinkat(pasta, nome.c_str(), 0);
        sem_nota(erro, escolhido);
    }
    return nome;
}

// The note written whole given its name, never over a file that has it: a
// link refuses a name taken wherever links are made (sshfs's too, though it
// numbers each name apart); elsewhere the rename that refuses it best.
// False when a file has the name.
bool publicar(int pasta, const std::string& nota, const std::string& texto, const std::string& escolhido) {
    Bloqueio_Jogo feito;
    const std::string temporario = escrever_temporario(pasta, texto, escolhido, feito);
    ponto_de_falha("nota.feita");
    int r = ::linkat(pasta, temporario.c_str(), pasta, nota.c_str(), 0);
    const bool sem_ligacao = r != 0 && (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS || errno == EMLINK);
    if (sem_ligacao) r = renomear_sem_substituir(pasta, temporario, nota);
    const int erro = errno;
    ::unlinkat(pasta, temporario.c_str(), 0);
    if (r != 0 && erro != EEXIST) sem_nota(erro, escolhido);
    // Where only a look before the rename keeps a name taken, another's
    // note may have taken it in that very instant: what is there is read.
    return r == 0 && (!sem_ligacao || ler_ficheiro(pasta, nota).texto == texto);
}

// The note removed only while it still says `lido`: set aside first under
// a temporary name and read there, so that one put under its name meanwhile
// (by a window that removed the same old note) goes back untouched.
void retirar_se(int pasta, const std::string& nota, const std::string& lido) {
    const std::string posto = novo_nome_temporario(pasta);
    if (::renameat(pasta, nota.c_str(), pasta, posto.c_str()) != 0) return;
    ponto_de_falha("nota.posta");
    if (ler_ficheiro(pasta, posto).texto == lido) {
        ::unlinkat(pasta, posto.c_str(), 0);
        return;
    }
    renomear_sem_substituir(pasta, posto, nota);
}

} // namespace

std::string texto_da_nota(const Dono_Nota& d) {
    std::string t(Cabeca);
    t += "maquina_id=" + d.maquina_id + "\narranque=" + d.arranque + "\nalcance=" + d.alcance + "\njanela=" + d.janela +
         "\nmaquina=" + d.maquina + "\n";
    for (const std::string& s : d.sais) t += "sal=" + s + "\n";
    return t += Fim;
}

bool ler_nota(const std::string& texto, Dono_Nota& d) {
    if (texto.size() > Maior_Nota || texto.compare(0, Cabeca.size(), Cabeca) != 0) return false;
    d = {};
    bool inteira = false, processo = false;
    for (std::size_t i = Cabeca.size(); i < texto.size();) {
        const auto fim = texto.find('\n', i);
        if (fim == std::string::npos || inteira) return false;   // cut short, or more after its end
        const std::string linha = texto.substr(i, fim - i);
        i = fim + 1;
        if (linha + "\n" == Fim) {
            inteira = true;
            continue;
        }
        const auto igual = linha.find('=');
        const std::string chave = linha.substr(0, igual), valor = igual == std::string::npos ? "" : linha.substr(igual + 1);
        if (chave == "maquina_id") d.maquina_id = valor;
        if (chave == "arranque") d.arranque = valor;
        if (chave == "alcance") d.alcance = valor;
        if (chave == "janela") d.janela = valor;
        if (chave == "maquina") d.maquina = valor;
        if (chave == "sal" && !valor.empty()) d.sais.push_back(valor);
        if (chave == "processo") processo = true;
    }
    // An earlier version's note ends with its last line, naming its
    // machine by its host's name and its window by a process.
    if (!inteira && !(processo && !texto.empty() && texto.back() == '\n')) return false;
    return !d.arranque.empty() && !d.maquina.empty();
}

Juizo_Nota julgar_nota(const Dono_Nota& eu, const Dono_Nota& outro, bool trancado) {
    // Of a window whose game is no longer under the name (moved away, or
    // another put in its place): that window writes nothing here any more.
    const std::string sal = eu.sais.empty() ? std::string() : eu.sais.front();
    if (!outro.sais.empty() && std::find(outro.sais.begin(), outro.sais.end(), sal) == outro.sais.end())
        return Juizo_Nota::Velha;
    // A boot's id is its own: this boot of this machine. Its windows that
    // reach the folder through the same file system see this window's
    // hold, and none has the game while this one holds it.
    if (outro.arranque == eu.arranque)
        return trancado && (outro.alcance.empty() || outro.alcance == eu.alcance) ? Juizo_Nota::Velha
                                                                                  : Juizo_Nota::Noutra_Janela;
    // An earlier boot of this machine: no window of it is left.
    if (!outro.maquina_id.empty() && outro.maquina_id == eu.maquina_id) return Juizo_Nota::Velha;
    return Juizo_Nota::Noutra_Maquina;
}

bool nota_deste_alcance(int pasta, const std::string& jogo) {
    Dono_Nota d;
    return ler_nota(ler_ficheiro(pasta, jogo + Sufixo_Nota).texto, d) && d.arranque == esta_maquina().arranque &&
           d.alcance == alcance_dos_trincos(pasta);
}

std::shared_ptr<Nota_Aberto> Nota_Aberto::tomar(int pasta, const std::string& nome, const std::string& escolhido,
                                                const std::string& sal, bool trancado) {
    const std::string nota = nome + Sufixo_Nota;
    // This process's own, by its folder and name (a process forked from it
    // is another window).
    static std::mutex guarda;
    static std::map<std::tuple<pid_t, dev_t, ino_t, std::string>, std::weak_ptr<Nota_Aberto>> deste_processo;
    struct stat p {};
    if (::fstat(pasta, &p) != 0) sem_nota(errno, escolhido);
    const auto chave = std::make_tuple(::getpid(), p.st_dev, p.st_ino, nota);
    std::lock_guard<std::mutex> g(guarda);
    if (auto n = deste_processo[chave].lock()) return n;
    const Esta_Maquina& m = esta_maquina();
    Dono_Nota eu{m.id, m.arranque, alcance_dos_trincos(pasta), unico(), m.nome, {}};
    if (!sal.empty()) eu.sais.push_back(sal);
    const bool fazer = !capacidades(pasta).trincos_partilhados;
    const std::string texto = texto_da_nota(eu);
    for (int vez = 0; vez < 20; ++vez) {
        if (fazer && publicar(pasta, nota, texto, escolhido)) {
            std::shared_ptr<Nota_Aberto> n(new Nota_Aberto());
            n->pasta_ = ::fcntl(pasta, F_DUPFD_CLOEXEC, 0);
            n->nome_ = nota;
            n->escolhido_ = escolhido;
            n->escrito_ = texto;
            n->dono_ = eu;
            deste_processo[chave] = n;
            return n;
        }
        const Lida l = ler_ficheiro(pasta, nota);
        if (l.erro) sem_nota(l.erro, escolhido);
        if (!l.ha) {
            if (!fazer) return nullptr;
            continue;   // gone meanwhile
        }
        Dono_Nota outro;
        if (!ler_nota(l.texto, outro)) {
            // Where locks reach every machine, the hold guards the game.
            if (!fazer) return nullptr;
            // Never taken for a note, nor over: the player's, or cut short.
            throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + escolhido + " está " + nota + ", que não é uma nota do jogo",
                          Erro_BD::Tipo::Sobra_Alheia, nota);
        }
        switch (julgar_nota(eu, outro, trancado)) {
        case Juizo_Nota::Velha:
            retirar_se(pasta, nota, l.texto);
            continue;
        case Juizo_Nota::Noutra_Janela: {
            Erro_BD e(SQLITE_BUSY, "O jogo está aberto noutra janela: " + nome, Erro_BD::Tipo::Noutra_Janela,
                      escolhido);
            e.com_maquina(outro.maquina, nota);
            throw e;
        }
        case Juizo_Nota::Noutra_Maquina: {
            Erro_BD e(SQLITE_BUSY, "O jogo está aberto noutra máquina (" + outro.maquina + "): " + nome,
                      Erro_BD::Tipo::Noutra_Maquina, escolhido);
            e.com_maquina(outro.maquina, nota);
            throw e;
        }
        }
    }
    // Taken and removed over and over by others: none is this window's.
    throw Erro_BD(SQLITE_BUSY, "A nota de jogo aberto de " + nome + " muda sem parar", Erro_BD::Tipo::Bloqueada,
                  escolhido);
}

bool Nota_Aberto::reescrever(const std::vector<std::string>& sais) {
    Dono_Nota d = dono_;
    d.sais = sais;
    const std::string novo = texto_da_nota(d);
    if (novo == escrito_) return true;
    Bloqueio_Jogo feito;
    const std::string temporario = escrever_temporario(pasta_, novo, escolhido_, feito);
    // Over the note only while it is this window's: no other window takes
    // it while this one holds the game.
    if (ler_ficheiro(pasta_, nome_).texto != escrito_) {
        ::unlinkat(pasta_, temporario.c_str(), 0);
        return false;
    }
    if (::renameat(pasta_, temporario.c_str(), pasta_, nome_.c_str()) != 0) {
        const int erro = errno;
        ::unlinkat(pasta_, temporario.c_str(), 0);
        sem_nota(erro, escolhido_);
    }
    escrito_ = novo;
    dono_ = d;
    return true;
}

void Nota_Aberto::acrescentar(const std::string& sal) {
    std::vector<std::string> sais = dono_.sais;
    if (!sal.empty() && std::find(sais.begin(), sais.end(), sal) == sais.end()) sais.push_back(sal);
    reescrever(sais);
}

void Nota_Aberto::renovar(const std::string& sal) {
    try {
        reescrever(sal.empty() ? std::vector<std::string>{} : std::vector<std::string>{sal});
    } catch (const Erro_BD&) {
        // The note keeps the old salt beside the new: it still says the
        // game under the name is this window's.
    }
}

Nota_Aberto::~Nota_Aberto() {
    if (pasta_ < 0) return;
    retirar_se(pasta_, nome_, escrito_);
    ::close(pasta_);
}

} // namespace gv::db
