// The watch for another program's writes, at the load and the close as in
// play: what another program wrote is told and never written into, what a
// second window or a late size does is never told as such, and nothing of
// a log another program replaced goes into the game's file.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "mortes.h"
#include "platform/db/capacidades.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

class Vigia : public teste::Com_Mortes {
protected:
    // Written over in place, as a copy onto the open file writes it.
    void escrever_por_cima(const std::string& nome, const std::string& bytes) {
        std::ofstream(caminho(nome), std::ios::binary | std::ios::trunc) << bytes;
    }
};

// A second window opens the game again and again while the first plays it,
// on a file system that shows a file's size and first bytes late (as sshfs
// may, once a second window's open has it ask for them anew): the second is
// refused, truly, and the first plays on with no word of another program.
TEST_F(Vigia, ASecondWindowAndWhatIsShownLateAreNeverToldAsAnotherProgramsWrite) {
    const char* sem = std::getenv("GV_TESTES_SEM");
    db::retirar_capacidades(db::capacidades_de_nomes(sem ? sem : "") | db::Cap_Tamanhos_Tardios);
    // The first window says when it is open and when it has played; it
    // closes when told.
    int aberta[2], jogou[2], fecha[2];
    ASSERT_EQ(::pipe(aberta) | ::pipe(jogou) | ::pipe(fecha), 0);
    const pid_t primeira = fork();
    ASSERT_GE(primeira, 0);
    if (primeira == 0) {
        char c = 0;
        if (carregar() != Resultado_Jogo::Aberto || ::write(aberta[1], "x", 1) != 1) _exit(3);
        for (int ronda = 0; ronda < 4; ++ronda)
            if (Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(algum_alterado() ? 4 : 5);
        if (::write(jogou[1], "x", 1) != 1 || ::read(fecha[0], &c, 1) != 1) _exit(3);
        Fechar_Base_Dados();
        _exit(algum_alterado() ? 4 : 0);
    }
    for (int fd : {aberta[1], jogou[1], fecha[0]}) ::close(fd);
    char c = 0;
    ASSERT_EQ(::read(aberta[0], &c, 1), 1) << "the first window did not open the game";
    ::fcntl(jogou[0], F_SETFL, O_NONBLOCK);
    int recusas = 0, estado = 0;
    bool acabou = false;
    do {
        porta.mensagens.clear();
        if (carregar() == Resultado_Jogo::Recusado) ++recusas;
        ASSERT_FALSE(Base_Dados) << "the second window opened the game";
        acabou = ::waitpid(primeira, &estado, WNOHANG) == primeira;
    } while (!acabou && ::read(jogou[0], &c, 1) != 1);
    if (!acabou) {
        ASSERT_EQ(::write(fecha[1], "x", 1), 1);
        ASSERT_EQ(::waitpid(primeira, &estado, 0), primeira);
    }
    for (int fd : {aberta[0], jogou[0], fecha[1]}) ::close(fd);
    db::retirar_capacidades(db::capacidades_de_nomes(sem ? sem : ""));
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(WEXITSTATUS(estado), 0) << "4: the first window told another program's write";
    EXPECT_GT(recusas, 0);
    abre("jogo.gv", 5, "Manuel Tester");
}

// A backup, or another game, copied over the game's file in place while
// the load takes its log into it: the load writes nothing into it and says
// so, in either language, never that the game is as it was; nothing of the
// load's is left beside it, and the next load opens what was copied.
TEST_F(Vigia, ALoadWritesNothingIntoAFileCopiedOverItAndTheNextOpensIt) {
    const auto outro = outro_jogo("outro.gv");
    for (const char* lingua : {"P", "I"}) {
        SCOPED_TRACE(lingua);
        recomecar();
        com_log("jogo.gv", "Do Log");
        armar_accao("carregar.tomar", [&] { escrever_por_cima("jogo.gv", outro); });
        porta.mensagens.clear();
        EXPECT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Recusado);
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_EQ(ultima(), *lingua == 'P'
                                ? "Não foi possível abrir o jogo.\nO ficheiro do jogo \"jogo.gv\" foi alterado por outro "
                                  "programa enquanto o jogo era aberto: tem agora o que esse programa lá escreveu, e "
                                  "esta janela não lhe tocou. Para abrir o que lá está, abra o jogo de novo."
                                : "The game could not be opened.\nThe game's file \"jogo.gv\" was changed by another "
                                  "program while the game was being opened: it now holds what that program wrote, "
                                  "untouched by this window. To open what it holds now, open the game again.");
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), outro);
        EXPECT_FALSE(fs::exists(caminho("jogo.gv-journal")) || fs::exists(caminho("jogo.gv-wal")));
        abre("jogo.gv", 1, "Outro");
    }
}

// Another game copied over the game's file as the close moves the log into
// it and gives it its journal back: the player is told in the window, the
// close writes nothing into what was copied and leaves no journal, and the
// next load opens it with no step by hand.
TEST_F(Vigia, AWriteFoundInTheCloseIsToldAndLeavesNothingThatRefusesTheNextLoad) {
    const auto outro = outro_jogo("outro.gv");
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    armar_accao("lugar.diario", [&] { escrever_por_cima("jogo.gv", outro); });
    porta.mensagens.clear();
    Fechar_Base_Dados();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_NE(ultima().find("O ficheiro do jogo \"jogo.gv\" foi alterado por outro programa enquanto o jogo estava "
                            "aberto"),
              std::string::npos)
        << ultima();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), outro);
    EXPECT_FALSE(fs::exists(caminho("jogo.gv-journal")) || fs::exists(caminho("jogo.gv-wal")));
    abre("jogo.gv", 1, "Outro");
}

// The log written over in place by an older one of the same game as the
// commit's move into the file begins: none of its pages goes in, the player
// is told the file holds what was moved into it before, and it reads whole.
// Written over once the first page is in: nothing more goes in, and the
// player is told the file holds part of the move only.
TEST_F(Vigia, NothingOfALogReplacedAsItGoesIntoTheFileIsWrittenThere) {
    for (const char* instante : {"em_jogo.commit", "vigia.ficheiro"}) {
        SCOPED_TRACE(instante);
        recomecar();
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
        std::string velho;
        armar_accao("em_jogo.commit", [&] { velho = teste::ler_bytes(caminho("jogo.gv-wal")); });
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        ASSERT_FALSE(velho.empty());
        const auto por_cima = [&] {
            std::ofstream(caminho("jogo.gv-wal"), std::ios::binary | std::ios::in | std::ios::out) << velho;
        };
        armar_accao("em_jogo.commit", [&] {
            if (instante == std::string("em_jogo.commit")) por_cima();
            else armar_accao(instante, por_cima);
        });
        Jogar_Proximo_Jogo();
        porta.mensagens.clear();
        Fechar_Base_Dados();
        ASSERT_FALSE(porta.mensagens.empty());
        EXPECT_NE(ultima().find("O ficheiro \"jogo.gv-wal\" ao lado do jogo foi alterado por outro programa"),
                  std::string::npos)
            << ultima();
        if (instante != std::string("em_jogo.commit")) {
            EXPECT_NE(ultima().find("O ficheiro do jogo estava a receber o que esse ficheiro tinha, e ficou só com "
                                    "parte: pode já não abrir."),
                      std::string::npos)
                << ultima();
            continue;
        }
        EXPECT_NE(ultima().find("O ficheiro do jogo tem o que jogou até à última acção que lá foi passada"),
                  std::string::npos)
            << ultima();
        fs::remove(caminho("jogo.gv-wal"));
        auto d = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        EXPECT_EQ(d->valor("PRAGMA integrity_check").texto(), "ok");
    }
}

// What another program writes that leaves the file as it was (the same
// bytes written back) is no alarm; the look it passed takes the file as it
// is now, and the next write of another program is seen all the same.
TEST_F(Vigia, AWriteThatLeavesTheFileAsItWasHidesNoLaterOne) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    const std::string antes = teste::ler_bytes(caminho("jogo.gv"));
    std::ofstream(caminho("jogo.gv"), std::ios::binary | std::ios::in | std::ios::out) << antes;
    porta.mensagens.clear();
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    EXPECT_FALSE(algum_alterado());
    escrever_por_cima("jogo.gv", antes);
    porta.mensagens.clear();
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
    EXPECT_TRUE(algum_alterado());
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), antes);
}

} // namespace
