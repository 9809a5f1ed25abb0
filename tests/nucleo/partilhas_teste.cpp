// A game on a share whose locks reach this machine only is one machine's at
// a time: machines and windows told apart by what cannot collide, a note
// whole or not at all, the game never opened without it, and nothing in the
// folder that another machine may be using touched before it is this
// window's.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "mortes.h"
#include "platform/db/alternativas.h"
#include "platform/db/capacidades.h"
#include "platform/db/maquina.h"
#include "platform/db/nota_aberto.h"
#include "platform/db/obras.h"
#include "platform/falhas.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

// The rules alone: whose a note is, and when it is stale.
TEST(Nota, MachinesAndWindowsAreToldApartByWhatCannotCollide) {
    using J = db::Juizo_Nota;
    const db::Dono_Nota eu{"maquina-a", "arranque-a", "alcance-a", "janela-1", "portatil", {"sal-1"}};
    auto outro = [&](auto mudar) {
        db::Dono_Nota o{"maquina-a", "arranque-a", "alcance-a", "janela-2", "portatil", {"sal-1"}};
        mudar(o);
        return o;
    };
    // Another machine, however it is named.
    EXPECT_EQ(db::julgar_nota(eu, outro([](auto& o) { o.maquina_id = "maquina-b", o.arranque = "arranque-b"; }), true),
              J::Noutra_Maquina);
    // This machine, an earlier boot: no window of it is left.
    EXPECT_EQ(db::julgar_nota(eu, outro([](auto& o) { o.arranque = "arranque-antigo"; }), true), J::Velha);
    // This boot: a window whose hold this one sees has no game while this
    // one holds it, whatever its process was numbered.
    EXPECT_EQ(db::julgar_nota(eu, outro([](auto&) {}), true), J::Velha);
    EXPECT_EQ(db::julgar_nota(eu, outro([](auto&) {}), false), J::Noutra_Janela);
    EXPECT_EQ(db::julgar_nota(eu, outro([](auto& o) { o.alcance = "alcance-b"; }), true), J::Noutra_Janela);
    // A game that lost this name; one being written anew under it.
    EXPECT_EQ(db::julgar_nota(eu, outro([](auto& o) { o.maquina_id = "maquina-b", o.arranque = "b", o.sais = {"sal-0"}; }), true),
              J::Velha);
    EXPECT_EQ(db::julgar_nota(eu, outro([](auto& o) { o.maquina_id = "maquina-b", o.arranque = "b", o.sais = {"sal-0", "sal-1"}; }), true),
              J::Noutra_Maquina);

    // Whole, or no note: every text cut short of its end is none.
    const std::string texto = db::texto_da_nota(eu);
    db::Dono_Nota lido;
    ASSERT_TRUE(db::ler_nota(texto, lido));
    EXPECT_EQ(db::texto_da_nota(lido), texto);
    for (std::size_t n = 0; n < texto.size(); ++n) EXPECT_FALSE(db::ler_nota(texto.substr(0, n), lido)) << n;
    EXPECT_FALSE(db::ler_nota(texto + "sal=x\n", lido));
}

class Partilhas : public teste::Com_Mortes {
protected:
    void SetUp() override {
        Com_Mortes::SetUp();
        retirar(db::Cap_Trincos_Partilhados);
    }
    void TearDown() override {
        retirar(0);
        Com_Mortes::TearDown();
    }
    static void retirar(unsigned quais) {
        const char* v = std::getenv("GV_TESTES_SEM");
        db::retirar_capacidades(quais | (v ? db::capacidades_de_nomes(v) : 0));
    }
    std::string ultima() const { return porta.mensagens.empty() ? std::string() : porta.mensagens.back().texto; }
    // This machine's window as a note names it; `mudar` makes it another's.
    void nota(const std::function<void(db::Dono_Nota&)>& mudar) const {
        const db::Esta_Maquina& m = db::esta_maquina();
        db::Dono_Nota d{m.id, m.arranque, alcance_da_pasta(), "janela-morta", m.nome, {sal_do_jogo()}};
        mudar(d);
        std::ofstream(caminho("jogo.gv-aberto"), std::ios::binary) << db::texto_da_nota(d);
    }
    static void outra_maquina(db::Dono_Nota& d) {
        d.maquina_id = "maquina-de-outro";
        d.arranque = "arranque-de-outro";
    }
    // f run in a process of another machine, of the same host name: what it
    // returns, as its exit code.
    int noutra_maquina(const std::function<int()>& f) {
        const pid_t filho = fork();
        if (filho == 0) {
            // The game this window has open is not the other machine's to close.
            static_cast<void>(Base_Dados.release());
            db::fingir_maquina({"maquina-de-outro", "arranque-de-outro", db::esta_maquina().nome});
            _exit(f());
        }
        int estado = 0;
        ::waitpid(filho, &estado, 0);
        return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    }
    // What the folder holds: every file, its size and a digest of its bytes.
    std::map<std::string, std::string> tudo() const {
        std::map<std::string, std::string> r;
        for (const auto& f : fs::directory_iterator(pasta))
            if (f.is_regular_file()) {
                const std::string b = teste::ler_bytes(f.path());
                r[f.path().filename().string()] = std::to_string(b.size()) + "/" + std::to_string(std::hash<std::string>{}(b));
            }
        return r;
    }
};

// Another machine's note refuses the game whatever the machines are named;
// one this machine's locks tell about (a killed window, an earlier boot) or
// of a game that lost the name is taken over; a file that is no whole note
// refuses the game, and nothing is touched.
TEST_F(Partilhas, ANoteIsJudgedByIdentitiesThatCannotCollide) {
    const std::string jogo = teste::ler_bytes(caminho("jogo.gv"));
    struct Caso {
        const char* o_que;
        std::function<void(db::Dono_Nota&)> mudar;
        std::string dito;   // empty: taken over
    };
    const std::string nome = db::esta_maquina().nome;
    const Caso casos[] = {
        {"another machine of the same name", outra_maquina,
         "O jogo \"jogo.gv\" está aberto no Golvantario noutro computador (\"" + nome + "\"). Feche-o lá primeiro."},
        {"this machine through another mount", [](auto& d) { d.alcance = "outro-alcance"; },
         "O jogo \"jogo.gv\" está aberto noutra janela do Golvantario. Feche-o lá primeiro. Se nenhuma janela o tem "
         "aberto, apague o ficheiro \"jogo.gv-aberto\" ao lado do jogo e abra-o de novo."},
        {"a killed window, process 1 in its namespace", [](auto&) {}, ""},
        {"an earlier boot", [](auto& d) { d.arranque = "arranque-antigo"; }, ""},
        {"another machine's game that lost the name",
         [](auto& d) { outra_maquina(d), d.sais = {"00112233445566778899aabbccddeeff"}; }, ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.o_que);
        nota(c.mudar);
        const std::string escrita = teste::ler_bytes(caminho("jogo.gv-aberto"));
        porta.mensagens.clear();
        if (!c.dito.empty()) {
            EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
            EXPECT_NE(ultima().find(c.dito), std::string::npos) << ultima();
            EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-aberto")), escrita);
            EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), jogo);
            continue;
        }
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto) << ultima();
        db::Dono_Nota d;
        ASSERT_TRUE(db::ler_nota(teste::ler_bytes(caminho("jogo.gv-aberto")), d));
        EXPECT_EQ(d.arranque, db::esta_maquina().arranque);
        EXPECT_NE(d.janela, "janela-morta");
        Fechar_Base_Dados();
        EXPECT_FALSE(fs::exists(caminho("jogo.gv-aberto")));
        recomecar();
    }
    // A note cut short, or a file of the player's under its name.
    nota(outra_maquina);
    const std::string inteira = teste::ler_bytes(caminho("jogo.gv-aberto"));
    for (const std::string& texto : {inteira.substr(0, inteira.size() - 3), std::string(), std::string("notas\n")}) {
        std::ofstream(caminho("jogo.gv-aberto"), std::ios::binary) << texto;
        porta.mensagens.clear();
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        EXPECT_NE(ultima().find("O ficheiro \"jogo.gv-aberto\" ao lado do jogo não pertence a este jogo."),
                  std::string::npos) << ultima();
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-aberto")), texto);
    }
}

// A window that ran as process 1 of a namespace of its own (as sandboxed
// desktop programs run), killed: the next window of this machine plays.
TEST_F(Partilhas, AWindowKilledInAProcessNamespaceLocksNobodyOut) {
    morrer([&] {
        if (::unshare(CLONE_NEWPID) != 0) _exit(0);
        const pid_t um = fork();
        if (um == 0) {
            if (::getpid() != 1 || carregar() != Resultado_Jogo::Aberto) _exit(3);
            ::kill(::getpid(), SIGKILL);
            _exit(4);
        }
        ::waitpid(um, nullptr, 0);
        ::kill(::getpid(), SIGKILL);
    });
    if (!fs::exists(caminho("jogo.gv-aberto"))) GTEST_SKIP() << "no process namespace can be made here";
    abre("jogo.gv", 1, "Manuel Tester");
}

// Two machines load the game at once; one is held while its note is written
// under its own name. The other plays; the first is refused once its note
// would take the name: never both.
TEST_F(Partilhas, ANoteBeingWrittenIsNeverTakenOver) {
    int pronto[2], seguir[2];
    ASSERT_EQ(::pipe(pronto), 0);
    ASSERT_EQ(::pipe(seguir), 0);
    const pid_t filho = fork();
    if (filho == 0) {
        db::fingir_maquina({"maquina-de-outro", "arranque-de-outro", "outra"});
        char c = 0;
        armar_accao("nota.feita", [&] {
            ssize_t r = ::write(pronto[1], "x", 1);
            r = ::read(seguir[0], &c, 1);
            static_cast<void>(r);
        });
        _exit(static_cast<int>(carregar()));
    }
    char c = 0;
    ASSERT_EQ(::read(pronto[0], &c, 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const Resultado_Jogo aqui = carregar();
    ASSERT_EQ(::write(seguir[1], "x", 1), 1);
    int estado = 0;
    ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(aqui, Resultado_Jogo::Aberto) << ultima();
    EXPECT_EQ(WEXITSTATUS(estado), static_cast<int>(Resultado_Jogo::Recusado));
    db::Dono_Nota d;
    ASSERT_TRUE(db::ler_nota(teste::ler_bytes(caminho("jogo.gv-aberto")), d));
    EXPECT_EQ(d.arranque, db::esta_maquina().arranque);
    Fechar_Base_Dados();
    for (int fd : {pronto[0], pronto[1], seguir[0], seguir[1]}) ::close(fd);
}

// A note that cannot be written refuses the game with its cause, in both
// languages, and leaves nothing; the close removes only a note that is
// still its own.
TEST_F(Partilhas, ANoteThatCannotBeMadeRefusesAndTheCloseRemovesOnlyItsOwn) {
    const auto antes = tudo();
    for (const char* lingua : {"P", "I"}) {
        armar_falha("nota.escrever", SQLITE_FULL);
        porta.mensagens.clear();
        EXPECT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Recusado);
        EXPECT_NE(ultima().find(*lingua == 'P' ? "O disco está cheio." : "The disk is full."), std::string::npos)
            << ultima();
        EXPECT_EQ(tudo(), antes);
    }
    // Taken over by another machine while this window plays (as one that
    // found it stale would): left to that machine at the close.
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    nota(outra_maquina);
    const std::string deles = teste::ler_bytes(caminho("jogo.gv-aberto"));
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-aberto")), deles);
}

// The disk is really full: the game is refused with that cause, never
// opened without its note.
TEST_F(Partilhas, OnAFullDiskTheGameIsRefusedNotOpenedUnguarded) {
    const fs::path cheio = pasta / "cheio";
    fs::create_directories(cheio);
    const auto tamanho = fs::file_size(caminho("jogo.gv"));
    const std::string dito = (pasta / "dito").string();
    const pid_t filho = fork();
    if (filho == 0) {
        const std::string opcoes = "size=" + std::to_string(tamanho + 256 * 1024);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("gv", cheio.c_str(), "tmpfs", 0, opcoes.c_str()) != 0)
            _exit(100);
        fs::copy_file(caminho("jogo.gv"), cheio / "jogo.gv");
        {
            std::ofstream enche(cheio / "enche", std::ios::binary);
            const std::string bloco(4096, 'x');
            while (enche.write(bloco.data(), bloco.size())) {}
        }
        const Resultado_Jogo r = carregar("cheio/jogo.gv");
        std::ofstream(dito) << ultima();
        _exit(static_cast<int>(r) + (fs::exists(cheio / "jogo.gv-aberto") ? 10 : 0));
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFEXITED(estado));
    if (WEXITSTATUS(estado) == 100) GTEST_SKIP() << "no mount namespace can be made here";
    EXPECT_EQ(WEXITSTATUS(estado), static_cast<int>(Resultado_Jogo::Recusado)) << teste::ler_bytes(dito);
    EXPECT_NE(teste::ler_bytes(dito).find("O disco está cheio."), std::string::npos) << teste::ler_bytes(dito);
}

// Written anew (a second name given to it), the game's new salt is in the
// note before the new file takes the name, and alone in it after: another
// machine is refused all the same.
TEST_F(Partilhas, ARewriteIsInTheNoteBeforeAnotherMachineCanSeeIt) {
    SALTAR_SEM_LIGACOES();
    const std::string velho = sal_do_jogo();
    fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
    std::vector<std::string> antes;
    armar_accao("lugar.postos", [&] {
        db::Dono_Nota d;
        if (db::ler_nota(teste::ler_bytes(caminho("jogo.gv-aberto")), d)) antes = d.sais;
    });
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto) << ultima();
    const std::string novo = sal_do_jogo();
    ASSERT_NE(novo, velho);
    ASSERT_EQ(antes.size(), 2u);
    EXPECT_EQ(antes[1], novo);
    db::Dono_Nota d;
    ASSERT_TRUE(db::ler_nota(teste::ler_bytes(caminho("jogo.gv-aberto")), d));
    EXPECT_EQ(d.sais, std::vector<std::string>{novo});
    EXPECT_EQ(noutra_maquina([&] { return static_cast<int>(carregar()); }), static_cast<int>(Resultado_Jogo::Recusado));
    Fechar_Base_Dados();
}

// Before the note says the game is this window's, nothing another machine
// may be using is put back or removed: a log set aside beside a game it
// plays, its making of a new game, its copy under a temporary name. What
// another machine left is gone only once it is old.
TEST_F(Partilhas, NothingAnotherMachineMayBeUsingIsTouchedBeforeTheNote) {
    // Another machine plays jogo.gv and has just set its log aside.
    nota(outra_maquina);
    std::ofstream(caminho("jogo.gv-wal.gvantigo"), std::ios::binary) << std::string(32, '\0');
    // And makes novo.gv, its temporary copy beside it.
    const std::string marca = std::string(db::Marca_Obra) + "alcance=0123456789abcdef\n";
    std::ofstream(caminho("novo.gv.a-criar"), std::ios::binary) << marca;
    std::ofstream(caminho("novo.gv.a-cifrar"), std::ios::binary) << "meio feito";
    std::ofstream(caminho(".gvnovo-0123456789abcdef-77-0"), std::ios::binary) << "copia";
    {
        // Made before there was a file under the name: no salt yet.
        db::Dono_Nota d{"maquina-de-outro", "arranque-de-outro", "y", "janela", "outra", {}};
        std::ofstream(caminho("novo.gv-aberto"), std::ios::binary) << db::texto_da_nota(d);
    }
    const auto antes = tudo();
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    porta.respostas.assign(1, Resposta::Sim);
    EXPECT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Recusado);
    EXPECT_NE(ultima().find("noutro computador"), std::string::npos) << ultima();
    db::limpar_obras_orfas(pasta.string());
    EXPECT_EQ(tudo(), antes);
    // An hour on, no making or copy is under way. (Both times set: bindfs
    // leaves the file's time as it was when only that one is given.)
    for (const char* f : {"novo.gv.a-criar", ".gvnovo-0123456789abcdef-77-0"}) {
        const struct timespec antes[2] = {{std::time(nullptr) - 7200, 0}, {std::time(nullptr) - 7200, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, caminho(f).c_str(), antes, 0), 0);
    }
    db::limpar_obras_orfas(pasta.string());
    for (const char* f : {"novo.gv.a-criar", "novo.gv.a-cifrar", ".gvnovo-0123456789abcdef-77-0"})
        EXPECT_FALSE(fs::exists(caminho(f))) << f;
}

// A log or journal the folder still lists but that is gone when read (a
// share lists for a while what another machine removed) is none: the game
// opens, never told "not a game".
TEST_F(Partilhas, ASideFileGoneWhenReadIsNone) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    Fechar_Base_Dados();
    for (const char* lado : {"jogo.gv-wal", "jogo.gv-journal"}) {
        SCOPED_TRACE(lado);
        std::ofstream(caminho(lado)) << "";
        armar_accao("lugar.ao_lado_visto", [&] { fs::remove(caminho(lado)); });
        abre("jogo.gv", 1, "Manuel Tester");
        desarmar_falhas();
    }
}

// What a folder's file system can do is known per mount: a file system
// mounted where another was, given its device number again, is found out
// anew; a try that failed for a passing cause is made again. The disks of
// this machine are trusted whole, untried.
TEST(Capacidades, AreKnownPerMountAndAFailedTryIsMadeAgain) {
    // As the file systems give them, none taken away.
    db::retirar_capacidades(0);
    struct statfs sf {};
    const char* tmp = std::getenv("TMPDIR");
    const fs::path pasta = fs::path(tmp ? tmp : "/tmp") / ("gv-montagem-" + std::to_string(::getpid()));
    fs::create_directories(pasta);
    const auto caps = [&] {
        const int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const db::Capacidades c = db::capacidades(fd);
        ::close(fd);
        return c;
    };
    ASSERT_EQ(::statfs(pasta.c_str(), &sf), 0);
    if (sf.f_type == 0xEF53 || sf.f_type == 0x01021994 || sf.f_type == 0x58465342 || sf.f_type == 0x9123683E) {
        const db::Capacidades c = caps();
        EXPECT_TRUE(c.anonimos && c.sem_substituir && c.ligacoes && c.trincos_partilhados && c.tempos_fieis &&
                    !c.esconde_apagados);
    }
    const pid_t filho = fork();
    if (filho == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("gv", pasta.c_str(), "tmpfs", 0, nullptr) != 0)
            _exit(100);
        if (!caps().anonimos || !caps().tempos_fieis) _exit(1);
        ::umount(pasta.c_str());
        // ramfs, a kind not known: its links and renames tried.
        if (::mount("gv", pasta.c_str(), "ramfs", 0, nullptr) != 0) _exit(100);
        armar_falha("capacidades.experimentar");
        db::Capacidades c = caps();
        if (c.tempos_fieis) _exit(2);
        if (c.ligacoes || c.sem_substituir) _exit(3);
        c = caps();
        if (!c.ligacoes || !c.sem_substituir) _exit(4);
        _exit(0);
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
    fs::remove_all(pasta);
    const char* v = std::getenv("GV_TESTES_SEM");
    db::retirar_capacidades(v ? db::capacidades_de_nomes(v) : 0);
    ASSERT_TRUE(WIFEXITED(estado));
    if (WEXITSTATUS(estado) == 100) GTEST_SKIP() << "no mount namespace can be made here";
    EXPECT_EQ(WEXITSTATUS(estado), 0) << "1: tmpfs misjudged; 2: ramfs taken for the tmpfs before it; 3: a failed try "
                                         "taken as done; 4: a failed try not made again";
}

} // namespace
