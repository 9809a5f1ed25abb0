// Files that come beside a game, or under its names, at the very moment
// the game reaches for them: the engine is handed only what the game made
// or judged and holds, removes only what it holds, and a copy saved for a
// game that lost its name is told only when it is whole, its log with it.
// Nothing of anyone else's is taken, written or removed.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

#include "data/consultas.h"
#include "desk/proximo_jogo.h"
#include "disco_avariado.h"
#include "mortes.h"
#include "platform/db/em_jogo.h"
#include "platform/db/lugar.h"

#include <sqlite3.h>

using namespace gv;
namespace fs = std::filesystem;

namespace {

// The moment the engine reaches for a file of a game's folder: right
// before the system is asked to open (or to look at) the first one whose
// name ends in `nome`, `antes` runs, once, given the open's flags. Only
// names the engine is given through a game's folder count, never a load's
// private copies.
class No_Instante {
public:
    No_Instante(const char* chamada, std::string nome, std::function<void(int)> antes) : chamada_(chamada) {
        db::Database::preparar_motor();
        unix_ = sqlite3_vfs_find("unix");
        estado() = {"/" + std::move(nome), std::move(antes), unix_->xGetSystemCall(unix_, chamada)};
        const auto nova = std::strcmp(chamada, "open") == 0 ? reinterpret_cast<sqlite3_syscall_ptr>(&abrir)
                                                            : reinterpret_cast<sqlite3_syscall_ptr>(&ver);
        unix_->xSetSystemCall(unix_, chamada, nova);
    }
    ~No_Instante() {
        unix_->xSetSystemCall(unix_, chamada_, estado().anterior);
        estado() = {};
    }
    No_Instante(const No_Instante&) = delete;
    No_Instante& operator=(const No_Instante&) = delete;
    // Whether the moment came.
    bool chegou() const { return !estado().antes; }

private:
    struct Estado {
        std::string fim;
        std::function<void(int)> antes;
        sqlite3_syscall_ptr anterior = nullptr;
    };
    static Estado& estado() {
        static Estado e;
        return e;
    }
    static void talvez(const char* caminho, int flags) {
        Estado& e = estado();
        const std::string_view c(caminho);
        if (e.antes && c.rfind("/proc/self/fd/", 0) == 0 && c.size() > e.fim.size() &&
            c.substr(c.size() - e.fim.size()) == e.fim)
            std::exchange(e.antes, nullptr)(flags);
    }
    static int abrir(const char* caminho, int flags, int modo) {
        talvez(caminho, flags);
        return reinterpret_cast<int (*)(const char*, int, int)>(estado().anterior)(caminho, flags, modo);
    }
    static int ver(const char* caminho, struct stat* st) {
        talvez(caminho, 0);
        return reinterpret_cast<int (*)(const char*, struct stat*)>(estado().anterior)(caminho, st);
    }
    const char* chamada_;
    sqlite3_vfs* unix_ = nullptr;
};

class Guardas : public teste::Com_Mortes {
protected:
    std::string ultima() const { return porta.mensagens.empty() ? std::string() : porta.mensagens.back().texto; }
    // Whether any message told this (a round may ask questions as well).
    bool disse(const std::string& texto) const {
        for (const auto& m : porta.mensagens)
            if (m.texto.find(texto) != std::string::npos) return true;
        return false;
    }
    std::string ditas() const {
        std::string r;
        for (const auto& m : porta.mensagens) r += "[" + m.texto + "]\n";
        return r;
    }
    // Bytes of some other program's, never a game's.
    static std::string alheio(const char* de) {
        std::string r;
        for (int i = 0; i < 40; ++i) r += std::string("Ficheiro de ") + de + ", linha " + std::to_string(i) + ".\n";
        return r;
    }
    // Whether the file holds exactly these bytes (said without
    // printing them all).
    static ::testing::AssertionResult tem(const std::string& caminho, const std::string& bytes) {
        if (!fs::exists(caminho)) return ::testing::AssertionFailure() << caminho << " is gone";
        const std::string lido = teste::ler_bytes(caminho);
        if (lido == bytes) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << caminho << " holds " << lido.size() << " other bytes";
    }
    static void escrever(const std::string& caminho, const std::string& bytes) {
        std::ofstream(caminho, std::ios::binary | std::ios::trunc) << bytes;
    }
};

// Another program's file put at the log's name at the very moment the
// engine makes the log, as the game enters play: it is not taken for the
// log, nor written, nor removed; the load is refused naming it, and the
// game opens as it was once the file is moved away.
TEST_F(Guardas, AFilePutAtTheLogsNameAsTheEngineMakesItIsNeverTaken) {
    const std::string outro = alheio("outro programa");
    int flags = 0;
    {
        No_Instante n("open", "jogo.gv-wal", [&](int f) {
            flags = f;
            escrever(caminho("jogo.gv-wal"), outro);
        });
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        ASSERT_TRUE(n.chegou());
    }
    EXPECT_NE(flags & O_CREAT, 0) << "the log was being made";
    EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro \"jogo.gv-wal\" ao lado do jogo não pertence a "
                        "este jogo. Mova-o para outra pasta e abra o jogo de novo.\nO jogo ficou como estava.");
    ASSERT_TRUE(tem(caminho("jogo.gv-wal"), outro));
    fs::rename(caminho("jogo.gv-wal"), caminho("outro.txt"));
    abre("jogo.gv", 1, "Manuel Tester");
    EXPECT_TRUE(tem(caminho("outro.txt"), outro));
}

// A journal that appears beside the game after the load looked, as the
// engine looks for one before its first read: it was never judged, and is
// neither played back into the game nor removed. The load is refused, and
// the game opens as it was once the file is moved away.
TEST_F(Guardas, AJournalThatAppearsUnjudgedAsTheEngineLooksIsNeverTaken) {
    const std::string outro = alheio("outro programa");
    const std::string jogo = teste::ler_bytes(caminho("jogo.gv"));
    {
        No_Instante n("stat", "jogo.gv-journal", [&](int) { escrever(caminho("jogo.gv-journal"), outro); });
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        ASSERT_TRUE(n.chegou());
    }
    EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro \"jogo.gv-journal\" ao lado do jogo não pertence a "
                        "este jogo. Mova-o para outra pasta e abra o jogo de novo.\nO jogo ficou como estava.");
    ASSERT_TRUE(tem(caminho("jogo.gv-journal"), outro));
    EXPECT_TRUE(tem(caminho("jogo.gv"), jogo));
    fs::rename(caminho("jogo.gv-journal"), caminho("outro.txt"));
    abre("jogo.gv", 1, "Manuel Tester");
    EXPECT_TRUE(tem(caminho("outro.txt"), outro));
}

// Another file moved over the game's log as the close removes it: the
// close leaves it there with its bytes, and the game, everything played
// in its file, opens once it is moved away.
TEST_F(Guardas, AFileSwappedInAtTheLogsNameAsItIsRemovedIsLeftAlone) {
    const std::string outro = alheio("outra janela");
    escrever(caminho("outro.txt"), outro);
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    bool trocado = false;
    armar_accao("lugar.remover", [&] {
        fs::rename(caminho("outro.txt"), caminho("jogo.gv-wal"));
        trocado = true;
    });
    porta.mensagens.clear();
    Fechar_Base_Dados();
    ASSERT_TRUE(trocado);
    EXPECT_TRUE(porta.mensagens.empty()) << ditas();
    ASSERT_TRUE(tem(caminho("jogo.gv-wal"), outro));
    fs::rename(caminho("jogo.gv-wal"), caminho("outro.txt"));
    abre("jogo.gv", 2, "Manuel Tester");
    EXPECT_TRUE(tem(caminho("outro.txt"), outro));
}

// Another game moved under the game's name as the engine opens the file
// to take in the log beside it: the engine reads and writes the file held,
// the log judged going into it, and the other game keeps its bytes. Left
// there, the load says the game's file was moved, and where it is, what
// its log held in it; with the name given back right after, the game
// opens with what its log held.
TEST_F(Guardas, TheEngineOpensTheFileHeldWhateverHasItsNameAsItOpens) {
    for (bool devolvido : {false, true}) {
        SCOPED_TRACE(devolvido ? "the name given back" : "the name left to the other game");
        for (const char* f : {"jogo.gv", "jogo (2).gv", "posto.gv", "outro.gv"}) fs::remove(caminho(f));
        com_log("jogo.gv", "Do Log");
        const std::string outro = outro_jogo("outro.gv");
        No_Instante n("open", "jogo.gv", [&](int) {
            fs::rename(caminho("jogo.gv"), caminho("posto.gv"));
            fs::rename(caminho("outro.gv"), caminho("jogo.gv"));
        });
        if (devolvido)
            armar_accao("carregar.tomar", [&] {
                fs::rename(caminho("jogo.gv"), caminho("outro.gv"));
                fs::rename(caminho("posto.gv"), caminho("jogo.gv"));
            });
        porta.mensagens.clear();
        const Resultado_Jogo r = carregar();
        ASSERT_TRUE(n.chegou());
        if (devolvido) {
            ASSERT_EQ(r, Resultado_Jogo::Aberto) << ditas();
            EXPECT_TRUE(porta.mensagens.empty()) << ditas();
            EXPECT_EQ(Nome_Treinador, "Do Log");
            ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
            Fechar_Base_Dados();
            EXPECT_TRUE(tem(caminho("outro.gv"), outro));
            abre("jogo.gv", 2, "Do Log");
        } else {
            EXPECT_EQ(r, Resultado_Jogo::Recusado);
            EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro do jogo \"jogo.gv\" foi movido ou mudou de "
                                "nome enquanto o jogo era aberto; o ficheiro que tem agora esse nome não foi tocado. "
                                "Tudo o que jogou até aqui está gravado nele, agora em \"" + caminho("posto.gv") +
                                "\". Para continuar, abra o jogo aí.");
            EXPECT_TRUE(tem(caminho("jogo.gv"), outro));
            abre("posto.gv", 1, "Do Log");
            fs::rename(caminho("jogo.gv"), caminho("outro.gv"));
        }
        abre("outro.gv", 1, "Outro");
    }
}

// A player's files under a making's names beside the game: a load, a
// round and the close take none for a making killed halfway, and a load
// that must write the game anew refuses rather than take the player's
// file for its making's hold. Nothing of the player's is written or removed.
TEST_F(Guardas, APlayersFileUnderAMakingsNameIsNeverTakenForOne) {
    SALTAR_SEM_LIGACOES();
    const std::string criar = alheio("jogador"), semear = alheio("jogador também");
    escrever(caminho("jogo.gv.a-criar"), criar);
    escrever(caminho("jogo.gv.a-semear"), semear);
    auto do_jogador = [&] {
        EXPECT_TRUE(tem(caminho("jogo.gv.a-criar"), criar));
        EXPECT_TRUE(tem(caminho("jogo.gv.a-semear"), semear));
    };
    {
        SCOPED_TRACE("a load, a round and the close");
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto) << ditas();
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        Fechar_Base_Dados();
        do_jogador();
    }
    {
        SCOPED_TRACE("a load that writes the game anew");
        fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
        const std::string jogo = teste::ler_bytes(caminho("jogo.gv"));
        porta.mensagens.clear();
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        ASSERT_EQ(porta.mensagens.size(), 1u) << ditas();
        EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro \"jogo.gv.a-criar\" ao lado do jogo não pertence "
                            "a este jogo. Mova-o para outra pasta e abra o jogo de novo.\nO ficheiro do jogo não foi "
                            "alterado.");
        do_jogador();
        EXPECT_TRUE(tem(caminho("jogo.gv"), jogo));
        EXPECT_EQ(fs::hard_link_count(caminho("jogo.gv")), 2u);
    }
    fs::rename(caminho("jogo.gv.a-criar"), caminho("criar.txt"));
    abre("jogo.gv", 2, "Manuel Tester");
    abre("copia.gv", 2, "Manuel Tester");
}

// The game's file deleted in play, and it shrinks as the copy of it is
// read: the copy cut short is neither told of nor left; once the file
// is whole again, the close makes the copy and says where.
TEST_F(Guardas, ACopyCutShortByAShortReadIsNeitherToldNorLeft) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    const int fd = Base_Dados->lugar()->ficheiro().descritor();
    teste::apagar_de_fora(caminho("jogo.gv"));
    std::string guardado;
    armar_accao("copiar.ler", [&] {
        struct stat st {};
        ASSERT_EQ(::fstat(fd, &st), 0);
        guardado.resize(static_cast<std::size_t>(st.st_size));
        ASSERT_EQ(::pread(fd, guardado.data(), guardado.size(), 0), st.st_size);
        ASSERT_EQ(::ftruncate(fd, 0), 0);
    });
    porta.mensagens.clear();
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
    ASSERT_FALSE(guardado.empty()) << "the copy was never read";
    EXPECT_TRUE(disse("Não foi possível guardar o que jogou num ficheiro próprio na pasta \"" + pasta.string() + "\"."))
        << ditas();
    EXPECT_FALSE(disse("foi guardado em")) << ditas();
    EXPECT_FALSE(fs::exists(caminho("jogo (2).gv")));
    EXPECT_FALSE(fs::exists(caminho("jogo (3).gv")));
    ASSERT_EQ(::pwrite(fd, guardado.data(), guardado.size(), 0), static_cast<ssize_t>(guardado.size()));
    porta.mensagens.clear();
    Fechar_Base_Dados();
    ASSERT_EQ(porta.mensagens.size(), 1u) << ditas();
    EXPECT_NE(ultima().find("Tudo o que jogou até aqui foi guardado em \"" + caminho("jogo (2).gv") + "\"."),
              std::string::npos)
        << ultima();
    abre("jogo (2).gv", 2, "Manuel Tester");
}

// The game's file deleted in play with rounds its log holds past it: a
// copy whose log could not be copied (a read that failed, or the log's
// name taken by another's file) is neither told of nor left without its
// log; the next name is taken, and the copy told holds every round.
TEST_F(Guardas, ACopyWhoseLogCouldNotBeCopiedIsNeitherToldNorLeft) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    // Every move of the log into the file fails: the round stays in the log.
    teste::Disco_Avariado::armar(teste::Operacao::Escrita, 1, true, teste::Papel::Base);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    teste::apagar_de_fora(caminho("jogo.gv"));
    {
        // The log is copied first, so that the copy never has its name
        // without it.
        SCOPED_TRACE("the log's read failed");
        armar_falha("copiar.ler");
        porta.mensagens.clear();
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
        EXPECT_TRUE(disse("Não foi possível guardar o que jogou num ficheiro próprio")) << ditas();
        EXPECT_FALSE(disse("foi guardado em")) << ditas();
        EXPECT_FALSE(fs::exists(caminho("jogo (2).gv")) || fs::exists(caminho("jogo (2).gv-wal")));
    }
    {
        SCOPED_TRACE("the game's read failed, its log's copy named");
        bool falhou = false;
        std::function<void()> ler;
        ler = [&] {
            if (fs::exists(caminho("jogo (2).gv-wal"))) {
                falhou = true;
                throw Falha_Injectada("the log's copy");
            }
            armar_accao("copiar.ler", ler);
        };
        armar_accao("copiar.ler", ler);
        porta.mensagens.clear();
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
        desarmar_falhas();
        ASSERT_TRUE(falhou) << "the game's copy was never read with its log's named";
        EXPECT_TRUE(disse("Não foi possível guardar o que jogou num ficheiro próprio")) << ditas();
        EXPECT_FALSE(disse("foi guardado em")) << ditas();
        EXPECT_FALSE(fs::exists(caminho("jogo (2).gv")));
        EXPECT_FALSE(fs::exists(caminho("jogo (2).gv-wal")));
    }
    const std::string outro = alheio("outro programa");
    {
        SCOPED_TRACE("the log's name taken");
        escrever(caminho("jogo (2).gv-wal"), outro);
        porta.mensagens.clear();
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
        EXPECT_TRUE(disse("Tudo o que jogou até aqui foi guardado em \"" + caminho("jogo (3).gv") + "\".")) << ditas();
        EXPECT_FALSE(fs::exists(caminho("jogo (2).gv")));
        EXPECT_TRUE(tem(caminho("jogo (2).gv-wal"), outro));
        EXPECT_TRUE(db::log_com_commits(caminho("jogo (3).gv")));
    }
    teste::Disco_Avariado::limpar();
    Fechar_Base_Dados();
    EXPECT_TRUE(tem(caminho("jogo (2).gv-wal"), outro));
    abre("jogo (3).gv", 2, "Manuel Tester");
}

} // namespace
