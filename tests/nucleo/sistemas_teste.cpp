// Games kept on file systems that lack what a local disk has: no file made
// without a name, no rename that refuses a name taken, no hard links, a
// deleted open file kept under a hidden name, locks that reach this machine
// only. Each is taken away here as such a file system lacks it; the game
// gets the same outcomes and says the same words as on a local disk.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "desk/proximo_jogo.h"
#include "mortes.h"
#include "platform/db/alternativas.h"
#include "platform/db/capacidades.h"
#include "platform/db/maquina.h"
#include "platform/db/nota_aberto.h"
#include "platform/falhas.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

class Sistemas : public teste::Com_Mortes {
protected:
    void TearDown() override {
        // As the test run has them.
        const char* v = std::getenv("GV_TESTES_SEM");
        db::retirar_capacidades(v ? db::capacidades_de_nomes(v) : 0);
        Com_Mortes::TearDown();
    }
    void retirar(unsigned quais) {
        const char* v = std::getenv("GV_TESTES_SEM");
        db::retirar_capacidades(quais | (v ? db::capacidades_de_nomes(v) : 0));
    }
    const std::string& ultima() const { return porta.mensagens.back().texto; }
    // What the folder holds beside the game's own files.
    std::string sobras() const {
        std::string r;
        for (const auto& f : fs::directory_iterator(pasta)) {
            const std::string n = f.path().filename().string();
            if (f.is_regular_file() && n.find(".gv") != std::string::npos && n != "jogo.gv" && n != "inicio.gv" &&
                n != "novo.gv" && n != NOME_BASE_MESTRA && !teste::escondido_pelo_sistema(n))
                r += n + " ";
        }
        return r;
    }
    // The note a window of the machine `maquina` leaves beside the game it
    // has open, through the file system its locks reach as `alcance` says.
    void nota(const std::string& maquina, const std::string& arranque, const std::string& alcance,
              const std::string& sal) {
        std::ofstream(caminho("jogo.gv-aberto"), std::ios::binary)
            << db::texto_da_nota({maquina, arranque, alcance, "janela", maquina == esta_maquina() ? db::esta_maquina().nome : maquina, {sal}});
    }
    static std::string esta_maquina() { return db::esta_maquina().id; }
    static std::string este_arranque() { return db::esta_maquina().arranque; }
};

// A file system that keeps a deleted open file under a hidden name, with
// its one link (ntfs-3g): the game is told deleted, not found there, and
// what was played is saved beside, as on a local disk.
TEST_F(Sistemas, AGameDeletedWhereTheFileSystemHidesItIsToldDeletedAndSavedBeside) {
    retirar(db::Cap_Esconde_Apagados);
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    fs::rename(caminho("jogo.gv"), caminho(".fuse_hidden0000000200000001"));
    porta.mensagens.clear();
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_NE(ultima().find("O ficheiro do jogo \"jogo.gv\" foi apagado enquanto o jogo estava aberto. Tudo o que "
                            "jogou até aqui foi guardado em \"" + caminho("jogo (2).gv") + "\"."),
              std::string::npos) << ultima();
    Fechar_Base_Dados();
    abre("jogo (2).gv", 2, "Manuel Tester");
}

// A new game killed as its hold is first made, before the hold is marked
// (where no file can be made without a name) or before it is named (where
// one can), leaves nothing that refuses the next new game of that name, and
// nothing of its own behind.
TEST_F(Sistemas, ANewGameKilledAsItsHoldIsFirstMadeLeavesNothingInTheWay) {
    // Born marked where the folder makes a file with no name; else after
    // its intent.
    const int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool anonimos = fd >= 0 && db::capacidades(fd).anonimos;
    if (fd >= 0) ::close(fd);
    for (const char* ponto : {"obra.marcada", "obra.intento", "obra.feita"}) {
        SCOPED_TRACE(ponto);
        const bool marcada = ponto == std::string("obra.marcada");
        if (marcada && !anonimos) continue;
        retirar(marcada ? 0u : unsigned(db::Cap_Anonimos));
        fs::remove(caminho("novo.gv"));
        morrer([&] {
            armar_morte(ponto);
            novo_jogo("novo.gv", escolhas());
        });
        porta.mensagens.clear();
        ASSERT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Aberto)
            << (porta.mensagens.empty() ? "" : ultima());
        Fechar_Base_Dados();
        EXPECT_EQ(sobras(), "");
        for (const auto& f : fs::directory_iterator(pasta))
            EXPECT_FALSE(db::nome_temporario(f.path().filename().string())) << f.path();
    }
}

// Where no rename refuses a name taken, with hard links or without them,
// the close removes the game's emptied log and journal all the same, and a
// new game is put under its name.
TEST_F(Sistemas, WhereRenamesMayReplaceTheCloseLeavesNoLogAndNewGamesAreMade) {
    for (unsigned sem : {unsigned(db::Cap_Sem_Substituir), db::Cap_Sem_Substituir | db::Cap_Ligacoes}) {
        SCOPED_TRACE(sem);
        retirar(sem | db::Cap_Anonimos);
        recomecar();
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        Fechar_Base_Dados();
        EXPECT_EQ(sobras(), "");
        abre("jogo.gv", 2, "Manuel Tester");
        fs::remove(caminho("novo.gv"));
        ASSERT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Aberto);
        Fechar_Base_Dados();
        EXPECT_EQ(sobras(), "");
    }
}

// A kill between the link that gives a file its new name and the removal of
// its old one: the close's log set aside, a rewrite's, a new game put in
// place. The next load opens the game as it was, and nothing stays under
// two names.
TEST_F(Sistemas, AKillBetweenALinkAndTheOldNamesRemovalLosesNothing) {
    SALTAR_SEM_LIGACOES();
    const int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool ligacoes = db::capacidades(fd).ligacoes;
    ::close(fd);
    if (!ligacoes) GTEST_SKIP() << "the game has no hard links here";
    retirar(db::Cap_Sem_Substituir | db::Cap_Anonimos);
    // The close's log, set aside to be removed.
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto || Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
        armar_morte("renomear.ligado");
        Fechar_Base_Dados();
    });
    abre("jogo.gv", 2, "Manuel Tester");
    EXPECT_EQ(sobras(), "");
    // A rewrite's log, set aside as the file written anew takes the name.
    recomecar();
    com_log("jogo.gv", "Do Log");
    fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
    morrer([&] {
        armar_morte("renomear.ligado");
        carregar();
    });
    fs::remove(caminho("copia.gv"));
    abre("jogo.gv", 1, "Do Log");
    EXPECT_EQ(sobras(), "");
    // A new game, given its name.
    morrer([&] {
        armar_morte("renomear.ligado");
        novo_jogo("novo.gv", escolhas());
    });
    abre("novo.gv", 1, "Manuel Tester");
    EXPECT_EQ(sobras(), "");
}

// The note a window leaves beside a game it has open where locks are this
// machine's only: another machine's refuses the game, by name, with every
// file as it was; one of a window of this machine still open refuses it as
// another window; one of a window gone, or of a game that has lost the
// name since, is taken over, and this window's goes when it closes.
TEST_F(Sistemas, AGameOpenOnAnotherMachineIsRefusedAndAStaleNoteIsTakenOver) {
    retirar(db::Cap_Trincos_Partilhados);
    const std::string jogo = teste::ler_bytes(caminho("jogo.gv"));
    nota("outra-maquina", "x", "y", sal_do_jogo());
    const std::string escrita = teste::ler_bytes(caminho("jogo.gv-aberto"));
    const std::string dito[] = {
        "O jogo \"jogo.gv\" está aberto no Golvantario noutro computador (\"outra-maquina\"). Feche-o lá primeiro. Se "
        "esse computador já não o tem aberto (foi desligado sem o fechar), apague o ficheiro \"jogo.gv-aberto\" ao "
        "lado do jogo e abra-o de novo.",
        "The game \"jogo.gv\" is open in Golvantario on another computer (\"outra-maquina\"). Close it there first. If "
        "that computer no longer has it open (it was switched off without closing it), delete the file "
        "\"jogo.gv-aberto\" beside the game and open it again."};
    int i = 0;
    for (const char* lingua : {"P", "I"}) {
        porta.mensagens.clear();
        EXPECT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Recusado);
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_NE(ultima().find(dito[i++]), std::string::npos) << ultima();
    }
    porta.mensagens.clear();
    porta.respostas.assign(1, Resposta::Sim);
    Lingua = "P";
    EXPECT_EQ(novo_jogo("jogo.gv", escolhas()), Resultado_Jogo::Recusado);
    EXPECT_NE(ultima().find(dito[0]), std::string::npos) << ultima();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), jogo);
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-aberto")), escrita);
    // A window of this machine whose hold this one does not see (the share
    // mounted a second time).
    nota(esta_maquina(), este_arranque(), "outro-alcance", sal_do_jogo());
    porta.mensagens.clear();
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    EXPECT_NE(ultima().find("O jogo \"jogo.gv\" está aberto noutra janela do Golvantario."), std::string::npos)
        << ultima();
    // Gone: a window of this machine whose hold this one sees, one of an
    // earlier boot, another machine's whose game lost this name.
    for (const auto& [maquina, arranque, sal] :
         {std::tuple<std::string, std::string, std::string>{esta_maquina(), este_arranque(), sal_do_jogo()},
          {esta_maquina(), "arranque-antigo", sal_do_jogo()},
          {"outra-maquina", "x", "00112233445566778899aabbccddeeff"}}) {
        SCOPED_TRACE(maquina + " " + arranque);
        nota(maquina, arranque, alcance_da_pasta(), sal);
        porta.mensagens.clear();
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto) << (porta.mensagens.empty() ? "" : ultima());
        db::Dono_Nota d;
        ASSERT_TRUE(db::ler_nota(teste::ler_bytes(caminho("jogo.gv-aberto")), d));
        EXPECT_NE(d.janela, "janela");
        Fechar_Base_Dados();
        EXPECT_FALSE(fs::exists(caminho("jogo.gv-aberto")));
    }
}

// Where locks reach every machine, no note is made; one that another
// machine left (its own folder's locks are its only) is still honoured.
TEST_F(Sistemas, WhereLocksReachEveryMachineNoNoteIsMadeButOneFoundIsHonoured) {
    const int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool partilhados = db::capacidades(fd).trincos_partilhados;
    ::close(fd);
    if (!partilhados) GTEST_SKIP() << "the locks of this folder's file system are this machine's only";
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    EXPECT_FALSE(fs::exists(caminho("jogo.gv-aberto")));
    Fechar_Base_Dados();
    nota("outra-maquina", "x", "y", sal_do_jogo());
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    EXPECT_TRUE(fs::exists(caminho("jogo.gv-aberto")));
}

} // namespace
