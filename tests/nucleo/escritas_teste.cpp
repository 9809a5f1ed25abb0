// Whose writes are whose: another program's write into the open game is
// told as one, at whatever moment it lands, and never written over; the
// window's own failures (a damaged file, a failing disk) are told as what
// they are, never as another program's.

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "desk/proximo_jogo.h"
#include "disco_avariado.h"
#include "mortes.h"
#include "platform/db/capacidades.h"
#include "platform/db/em_jogo.h"
#include "platform/db/lugar.h"
#include "platform/falhas.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

constexpr const char* Alterado = "foi alterado por outro programa";

class Escritas : public teste::Com_Mortes {
protected:
    void TearDown() override {
        db::definir_pasta_dados({});
        Com_Mortes::TearDown();
    }
    // The game closed, the player told once, in the language `lingua`,
    // words holding `pt` or `en`.
    void fecha_e_diz(const char* lingua, const char* pt, const char* en) {
        porta.mensagens.clear();
        Fechar_Base_Dados();
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_NE(ultima().find(*lingua == 'P' ? pt : en), std::string::npos) << ultima();
    }
    // The next round refused and told as another program's write, and the
    // file left holding `bytes`, what that program wrote.
    void proxima_diz_alterado(const std::string& bytes) {
        porta.mensagens.clear();
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
        ASSERT_FALSE(porta.mensagens.empty());
        EXPECT_NE(ultima().find(Alterado), std::string::npos) << ultima();
        Fechar_Base_Dados();
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), bytes);
    }
};

// A backup copied over the game's file in place, or another game, while a
// round is written: its commit in the log, not yet in the file. The window
// writes nothing into what the other program wrote, tells the player, and
// the next load opens exactly those bytes.
TEST_F(Escritas, AFileWrittenOverWhileARoundIsWrittenIsNeverWrittenInto) {
    const auto outro = outro_jogo("outro.gv");
    for (const char* escrito : {"inicio.gv", "outro.gv"}) {
        SCOPED_TRACE(escrito);
        recomecar();
        const std::string bytes = teste::ler_bytes(caminho(escrito));
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
        armar_accao("em_jogo.commit",
                    [&] { std::ofstream(caminho("jogo.gv"), std::ios::binary | std::ios::trunc) << bytes; });
        // The round's commit is safe in the log; its move into the file is
        // refused.
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), bytes) << "nothing written into it";
        porta.mensagens.clear();
        Fechar_Base_Dados();
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_EQ(ultima(), "O ficheiro do jogo \"jogo.gv\" foi alterado por outro programa enquanto o jogo estava "
                            "aberto: tem agora o que esse programa lá escreveu, e esta janela não lhe tocou. O que "
                            "jogou nesta janela não ficou em nenhum ficheiro, a não ser que o que lá foi escrito já o "
                            "tivesse. Para continuar a partir do que lá está, abra o jogo de novo.");
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), bytes) << "nor as the game closes";
        EXPECT_FALSE(fs::exists(caminho("jogo.gv-wal")) || fs::exists(caminho("jogo (2).gv")));
        abre("jogo.gv", 1, escrito == std::string("outro.gv") ? "Outro" : "Manuel Tester");
    }
    EXPECT_EQ(teste::ler_bytes(caminho("outro.gv")), outro);
}

// The log written over in place as a round is written: told, and kept as
// the other program left it, never removed at the close; set aside under a
// name of its own, said, so that the next load opens with no step by hand.
TEST_F(Escritas, ALogWrittenOverWhileARoundIsWrittenIsToldAndKept) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    std::string lixo;
    armar_accao("em_jogo.commit", [&] {
        lixo = std::string(static_cast<std::size_t>(fs::file_size(caminho("jogo.gv-wal"))), '\x5A');
        std::ofstream(caminho("jogo.gv-wal"), std::ios::binary | std::ios::in | std::ios::out) << lixo;
    });
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    porta.mensagens.clear();
    Fechar_Base_Dados();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_NE(ultima().find("O ficheiro \"jogo.gv-wal\" ao lado do jogo foi alterado por outro programa"),
              std::string::npos) << ultima();
    EXPECT_NE(ultima().find("Foi posto de parte como \"jogo.gv-wal.alterado\", para que o jogo abra sem ele."),
              std::string::npos) << ultima();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-wal.alterado")), lixo);
    EXPECT_FALSE(fs::exists(caminho("jogo.gv-wal")));
    // The round was in the log written over: the file has what was before.
    abre("jogo.gv", 1, "Manuel Tester");
}

// The window's own failures during a load are told as what they are: a
// page damaged after the first, a disk that fails a write or a sync of the
// file or its log as the load takes the log in. No word of another program.
TEST_F(Escritas, ALoadsOwnFailuresAreNeverToldAsAnotherProgramsWrite) {
    // Damage past the first page.
    {
        std::fstream f(caminho("jogo.gv"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(4096 * 3 + 100);
        const std::string lixo(512, '\xA5');
        f.write(lixo.data(), static_cast<std::streamsize>(lixo.size()));
    }
    porta.mensagens.clear();
    carregar();
    EXPECT_FALSE(algum_alterado()) << ultima();
    Fechar_Base_Dados();
    // A failing disk while the log is taken in.
    for (teste::Operacao o : {teste::Operacao::Escrita, teste::Operacao::Sincronia})
        for (teste::Papel p : {teste::Papel::Base, teste::Papel::Log})
            for (int n = 1; n <= 3; ++n) {
                SCOPED_TRACE(std::string(teste::nome_operacao(o)) + " " + std::to_string(n));
                recomecar();
                com_log("jogo.gv", "Do Log");
                teste::Disco_Avariado::armar(o, n, false, p);
                porta.mensagens.clear();
                carregar();
                teste::Disco_Avariado::limpar();
                EXPECT_FALSE(algum_alterado()) << (porta.mensagens.empty() ? "" : ultima());
                Fechar_Base_Dados();
            }
}

} // namespace

namespace {

// A file of the player's named as a log set aside (a game saved as
// "jogo.gv-wal.gvantigo") is no log of the game's: a load leaves it as it
// is; and no new game is made under such a name.
TEST_F(Escritas, APlayersFileNamedAsALogSetAsideIsLeftAlone) {
    for (const char* nome : {"jogo.gv-wal.gvantigo", "jogo.gv-journal.gvantigo"}) {
        SCOPED_TRACE(nome);
        fs::copy_file(caminho("inicio.gv"), caminho(nome), fs::copy_options::overwrite_existing);
        const std::string bytes = teste::ler_bytes(caminho(nome));
        abre("jogo.gv", 1, "Manuel Tester");
        EXPECT_EQ(teste::ler_bytes(caminho(nome)), bytes);
        abre("jogo.gv", 1, "Manuel Tester");
        EXPECT_EQ(teste::ler_bytes(caminho(nome)), bytes);
        fs::remove(caminho(nome));
    }
    porta.mensagens.clear();
    EXPECT_EQ(novo_jogo("novo.gv.gvantigo", escolhas()), Resultado_Jogo::Recusado);
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_NE(ultima().find("O nome \"novo.gv.gvantigo\" acaba como os ficheiros que o Golvantario põe ao lado de um "
                            "jogo enquanto o joga. Escolha outro nome."),
              std::string::npos) << ultima();
    EXPECT_FALSE(fs::exists(caminho("novo.gv.gvantigo")));
}

} // namespace

namespace {

// The log written over in place when it held rounds the file had not taken
// in yet (its moves into the file failed on a failing disk): the player is
// told the file lacks them, never that it holds them, and where the log was
// set aside; the next load opens with no step by hand.
TEST_F(Escritas, ALogWrittenOverThatHeldRoundsTheFileLacksIsToldSo) {
    for (const char* lingua : {"P", "I"}) {
        recomecar();
        ASSERT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Aberto);
        teste::Disco_Avariado::armar(teste::Operacao::Escrita, 1, true, teste::Papel::Base);
        Jogar_Proximo_Jogo();
        teste::Disco_Avariado::limpar();
        ASSERT_TRUE(db::log_com_commits(caminho("jogo.gv")));
        const std::string lixo(static_cast<std::size_t>(fs::file_size(caminho("jogo.gv-wal"))), '\x5A');
        std::ofstream(caminho("jogo.gv-wal"), std::ios::binary | std::ios::in | std::ios::out) << lixo;
        fecha_e_diz(lingua,
                    "O ficheiro do jogo tem o que jogou até à última acção que lá foi passada; o que jogou depois "
                    "disso estava nesse ficheiro, e não ficou em nenhum. ",
                    "The game's file holds what you played up to the last action moved into it; what you played "
                    "after that was in that file, and is in none now. ");
        EXPECT_NE(ultima().find(*lingua == 'P' ? "Foi posto de parte como \"jogo.gv-wal.alterado\""
                                               : "It was set aside as \"jogo.gv-wal.alterado\""),
                  std::string::npos)
            << ultima();
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-wal.alterado")), lixo);
        fs::remove(caminho("jogo.gv-wal.alterado"));
        abre("jogo.gv", 1, "Manuel Tester");
    }
}

} // namespace

namespace {

// The copy saved of a game whose file was deleted, written over in place
// by another program (another game copied onto it): it is not told again
// as holding the game; the game is saved anew beside it, and it keeps what
// was written.
TEST_F(Escritas, ACopyWrittenOverIsNotToldAsHoldingTheGame) {
    const auto outro = outro_jogo("outro.gv");
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    teste::apagar_de_fora(caminho("jogo.gv"));
    porta.mensagens.clear();
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
    ASSERT_TRUE(fs::exists(caminho("jogo (2).gv")));
    std::ofstream(caminho("jogo (2).gv"), std::ios::binary | std::ios::trunc) << outro;
    fecha_com_copia("jogo (3).gv");
    EXPECT_EQ(teste::ler_bytes(caminho("jogo (2).gv")), outro);
    abre("jogo (3).gv", 2, "Manuel Tester");
}

} // namespace

namespace {

// The game's folder gone while the game is open (moved to another disk,
// say) and the player's data folder cannot take the copy: the player is
// told what is known, that a folder moved holds the game as it was then,
// never that what was played is lost.
TEST_F(Escritas, AFolderGoneWithNowhereForTheCopyIsNeverToldLost) {
    const fs::path sub = pasta / "sub";
    std::ofstream(caminho("ficheiro")) << "x";
    db::definir_pasta_dados((pasta / "ficheiro" / "dados").string());
    if (!jogar_e_apagar_pasta(sub)) GTEST_SKIP() << "the folder keeps the open game's file";
    porta.mensagens.clear();
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_NE(ultima().find("Se a pasta foi movida, o jogo que lá está tem o que jogou até ela ser movida."),
              std::string::npos) << ultima();
    EXPECT_EQ(ultima().find("perde"), std::string::npos) << ultima();
    porta.mensagens.clear();
    Fechar_Base_Dados();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_NE(ultima().find("O resto não ficou em nenhum ficheiro. Se a pasta foi movida, o jogo que lá está tem o "
                            "que jogou até ela ser movida."),
              std::string::npos) << ultima();
    EXPECT_EQ(ultima().find("perde"), std::string::npos) << ultima();
}

} // namespace

namespace {

// A backup of the same size copied over the file in place (the file as an
// earlier round left it, say): its first page differs, and it is told.
TEST_F(Escritas, ABackupOfTheSameSizeCopiedOverTheFileIsTold) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    std::string bytes = teste::ler_bytes(caminho("jogo.gv"));
    bytes[200] = static_cast<char>(~bytes[200]);
    std::ofstream(caminho("jogo.gv"), std::ios::binary | std::ios::in | std::ios::out) << bytes;
    proxima_diz_alterado(bytes);
}

// A transaction rolled back after the engine spilled its pages into the
// log: the window's own writes, no other program's.
TEST_F(Escritas, ATransactionRolledBackAfterSpillingIntoTheLogIsNoAlarm) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    Base_Dados->Execute("PRAGMA cache_size = 2");
    const auto antes = fs::file_size(caminho("jogo.gv-wal"));
    {
        db::Transaccao t(*Base_Dados);
        Base_Dados->Execute("UPDATE jogadores SET nome = nome || ' x'");
    }
    EXPECT_GT(fs::file_size(caminho("jogo.gv-wal")), antes) << "the pages went into the log";
    porta.mensagens.clear();
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada) << (porta.mensagens.empty() ? "" : ultima());
    EXPECT_FALSE(algum_alterado());
    Fechar_Base_Dados();
    EXPECT_TRUE(porta.mensagens.empty() || !algum_alterado());
    abre("jogo.gv", 2, "Manuel Tester");
}

// A file put under a new game's name at the very moment the new game takes
// it is never replaced: the new game is refused and the file kept.
TEST_F(Escritas, AFileThatTakesANewGamesNameAsItIsPutThereIsNeverReplaced) {
    const auto outro = outro_jogo("outro.gv");
    armar_accao("lugar.postos", [&] { fs::copy_file(caminho("outro.gv"), caminho("novo.gv")); });
    porta.mensagens.clear();
    EXPECT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Recusado);
    EXPECT_EQ(teste::ler_bytes(caminho("novo.gv")), outro);
}

} // namespace

namespace {

// A second name given to the game's file (a backup's hard-link snapshot)
// while its log holds a round the file lacks (the move into the file failed
// on a failing disk): the game is written anew under its own name, and the
// snapshot keeps every byte it had, the old file's close writing nothing
// into it.
TEST_F(Escritas, ASnapshotGivenWhileTheLogHoldsARoundKeepsItsBytes) {
    SALTAR_SEM_LIGACOES();
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    teste::Disco_Avariado::armar(teste::Operacao::Escrita, 1, true, teste::Papel::Base);
    Jogar_Proximo_Jogo();
    teste::Disco_Avariado::limpar();
    ASSERT_TRUE(db::log_com_commits(caminho("jogo.gv")));
    fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
    const std::string copia = teste::ler_bytes(caminho("copia.gv"));
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("copia.gv")), copia);
    abre("jogo.gv", 3, "Manuel Tester");
}

} // namespace

namespace {

// The game written anew under its own name (a backup's hard-link snapshot
// took a second name of it), then a backup copied over it in place: the
// file written anew is watched as the first one was, from its first round.
TEST_F(Escritas, AFileWrittenAnewIsWatchedAsTheFirstWas) {
    SALTAR_SEM_LIGACOES();
    const auto outro = outro_jogo("outro.gv");
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    ASSERT_EQ(fs::hard_link_count(caminho("jogo.gv")), 1u) << "written anew";
    std::ofstream(caminho("jogo.gv"), std::ios::binary | std::ios::trunc) << outro;
    proxima_diz_alterado(outro);
}

} // namespace

namespace {

// The game killed while it is written anew under its own name (a backup's
// hard-link snapshot took a second name of it), its log holding a round
// the file lacks (the move into the file failed on a failing disk): the
// old file's close removed nothing, and the next load has every round.
TEST_F(Escritas, AKillWhileTheGameIsWrittenAnewLosesNoRoundTheLogHeld) {
    SALTAR_SEM_LIGACOES();
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        teste::Disco_Avariado::armar(teste::Operacao::Escrita, 1, true, teste::Papel::Base);
        Jogar_Proximo_Jogo();
        teste::Disco_Avariado::limpar();
        if (!db::log_com_commits(caminho("jogo.gv"))) _exit(4);
        fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
        armar_morte("lugar.substituir");
        Jogar_Proximo_Jogo();
    });
    abre("jogo.gv", 2, "Manuel Tester");
}

} // namespace

namespace {

// Another program's file put under the log's name while the game is open
// (a backup tool restoring one by a rename): the close, plain or after
// another program's write into the game's file, never moves it, not even
// for the instant a kill could stop it in.
TEST_F(Escritas, AFileRenamedOverTheLogIsNeverMovedByTheClose) {
    const std::string deles = "o ficheiro de outro programa";
    for (bool escrito : {false, true}) {
        SCOPED_TRACE(escrito);
        recomecar();
        morrer(
            [&] {
                if (carregar() != Resultado_Jogo::Aberto || Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
                std::ofstream(caminho("deles"), std::ios::binary) << deles;
                fs::rename(caminho("deles"), caminho("jogo.gv-wal"));
                if (escrito) std::ofstream(caminho("jogo.gv"), std::ios::binary | std::ios::app) << "x";
                armar_morte("lugar.posto");
                Fechar_Base_Dados();
            },
            true);
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-wal")), deles);
        EXPECT_FALSE(fs::exists(caminho("jogo.gv-wal.gvantigo")));
    }
}

} // namespace

namespace {

// Another program's copy into the game's file under way (its start written
// over the file cut short) in the very instant the window writes a page of
// a round into it: the window's page went into what the other wrote, and
// nothing more goes; the player is told the file may hold parts of both,
// never that this window did not touch it.
TEST_F(Escritas, AWriteInTheVeryInstantOfTheWindowsOwnIsToldAsPartsOfBoth) {
    const int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool fieis = fd >= 0 && db::capacidades(fd).tempos_fieis;
    if (fd >= 0) ::close(fd);
    if (!fieis) GTEST_SKIP() << "the file system may show a size late: the instant is not told";
    const auto outro = outro_jogo("outro.gv");
    const std::string metade = outro.substr(0, outro.size() / 2);
    for (const char* lingua : {"P", "I"}) {
        SCOPED_TRACE(lingua);
        recomecar();
        ASSERT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Aberto);
        armar_accao("em_jogo.commit", [&] {
            armar_accao("vigia.ficheiro", [&] {
                std::ofstream(caminho("jogo.gv"), std::ios::binary | std::ios::trunc) << metade;
            });
        });
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        fecha_e_diz(lingua,
                    "O ficheiro do jogo \"jogo.gv\" foi alterado por outro programa enquanto o jogo estava aberto, "
                    "no mesmo instante em que esta janela lá escrevia: pode ter partes do que cada um lá escreveu, e "
                    "já não abrir. ",
                    "The game's file \"jogo.gv\" was changed by another program while the game was open, in the "
                    "very instant this window was writing to it: it may hold parts of what each wrote, and may no "
                    "longer open. ");
        EXPECT_EQ(ultima().find(*lingua == 'P' ? "não lhe tocou" : "untouched"), std::string::npos);
        const std::string agora = teste::ler_bytes(caminho("jogo.gv"));
        EXPECT_NE(agora, metade) << "the window's page went in";
        EXPECT_LT(agora.size(), outro.size()) << "nothing more did";
    }
}

} // namespace
