// A game's names changing under it: a file replaced, a folder renamed, one
// file under two names, paths that lead nowhere. Each window keeps to the
// file it holds, tells the player what became of what was played, and
// touches nothing of another game's.

#include <linux/capability.h>
#include <sys/syscall.h>

#include "data/consultas.h"
#include "desk/proximo_jogo.h"
#include "disco_avariado.h"
#include "montagem.h"
#include "mortes.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

class Nomes : public teste::Com_Mortes {
protected:
    // The round refused, the player told this.
    void recusada(const std::string& dito) {
        porta.mensagens.clear();
        EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Falhada);
        ASSERT_FALSE(porta.mensagens.empty());
        EXPECT_NE(ultima().find(dito), std::string::npos) << ultima();
        EXPECT_EQ(ultima().find("(deleted)"), std::string::npos) << ultima();
    }
    // Window 1, a process of its own, running f with only its own ends of
    // two pipes (a test that fails leaves it no one to wait for): it reads
    // what this window sends and tells this window back, one byte a time.
    struct Janela {
        pid_t pid;
        int enviar, receber;
        bool seguir() const {
            char c = 'x';
            return ::write(enviar, &c, 1) == 1;
        }
        bool esperar() const {
            char c = 0;
            return ::read(receber, &c, 1) == 1;
        }
        // Whether it ended as f answered 0.
        bool acabou_bem() const {
            int estado = 0;
            return ::waitpid(pid, &estado, 0) == pid && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
        }
    };
    static Janela janela1(const std::function<int(const Janela& daqui)>& f) {
        int ida[2], volta[2];
        if (::pipe(ida) != 0 || ::pipe(volta) != 0) return {-1, -1, -1};
        const pid_t p = fork();
        if (p == 0) {
            ::close(ida[1]);
            ::close(volta[0]);
            _exit(f(Janela{0, volta[1], ida[0]}));
        }
        ::close(ida[0]);
        ::close(volta[1]);
        return {p, ida[1], volta[0]};
    }
    // f run in a window of its own, a process: whether it says so.
    static bool noutra_janela(const std::function<bool()>& f) {
        const pid_t filho = fork();
        if (filho == 0) _exit(f() ? 0 : 1);
        int estado = 0;
        return filho > 0 && ::waitpid(filho, &estado, 0) == filho && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
    }
};

// Window 1 plays the game; a backup is moved over its file; window 2 loads
// the file, and makes a new game over it. Window 2 is refused and touches
// nothing; window 1 is told at its next round that its file was replaced,
// and what it played is saved beside under a name of its own.
TEST_F(Nomes, AGameReplacedUnderAnOpenWindowKeepsBothGamesApartAndSaysSo) {
    const Janela w1 = janela1([&](const Janela& daqui) {
        if (carregar() != Resultado_Jogo::Aberto || Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) return 3;
        if (!daqui.seguir() || !daqui.esperar()) return 4;
        porta.mensagens.clear();
        const bool falhou = Jogar_Proximo_Jogo() == Resultado_Ronda::Falhada;
        Fechar_Base_Dados();
        std::ofstream(caminho("janela1")) << porta.mensagens.size() << "\n" << ultima();
        return falhou ? 0 : 5;
    });
    ASSERT_TRUE(w1.esperar());
    fs::copy_file(caminho("inicio.gv"), caminho("copia.gv"));
    fs::rename(caminho("copia.gv"), caminho("jogo.gv"));
    const auto antes = teste::pasta_inteira(pasta);
    for (const char* lingua : {"P", "I"}) EXPECT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Recusado);
    Lingua = "P";
    porta.respostas.assign(1, Resposta::Sim);
    EXPECT_EQ(novo_jogo("jogo.gv", escolhas()), Resultado_Jogo::Recusado);
    const std::string ditos[] = {"O ficheiro \"jogo.gv-wal\" ao lado do jogo está a ser escrito por outra janela do "
                                 "Golvantario, que tem aberto o jogo que antes tinha este nome.",
                                 "is being written by another window of Golvantario", "outra janela"};
    ASSERT_EQ(porta.mensagens.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_NE(porta.mensagens[i].texto.find(ditos[i]), std::string::npos) << porta.mensagens[i].texto;
    EXPECT_TRUE(teste::pasta_inteira(pasta) == antes) << "every file is as it was";
    ASSERT_TRUE(w1.seguir());
    EXPECT_TRUE(w1.acabou_bem()) << "window 1's round after the replacement failed";
    const std::string dito = teste::ler_bytes(caminho("janela1"));
    EXPECT_EQ(dito.substr(0, 2), "1\n") << "told once: " << dito;
    EXPECT_NE(dito.find("O ficheiro do jogo \"jogo.gv\" foi substituído ou apagado enquanto o jogo estava aberto; o "
                        "ficheiro que tem agora esse nome não foi tocado. Tudo o que jogou até aqui foi guardado em \"" +
                        caminho("jogo (2).gv") + "\"."),
              std::string::npos) << dito;
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), teste::ler_bytes(caminho("inicio.gv")));
    abre("jogo (2).gv", 2, "Manuel Tester");
    abre("jogo.gv", 1, "Manuel Tester");
}

// Window 1's folder is renamed while it plays, and a new folder of the old
// name gets another game with its log: window 1 goes on in its folder,
// wherever it is now, and leaves the new one alone, even when the rename
// comes at the very moment its log is removed, at the close or at a load
// taking the log in.
TEST_F(Nomes, AGameWhoseFolderIsRenamedGoesOnInItAndTheNewFolderIsUntouched) {
    for (const char* quando : {"a round", "the close", "a load"}) {
        SCOPED_TRACE(quando);
        fs::remove_all(pasta / "A");
        fs::remove_all(pasta / "B");
        com_log("C/jogo.gv", "Outro");
        const bool ao_carregar = std::string(quando) == "a load";
        if (ao_carregar) com_log("A/jogo.gv", "Meu");
        else fs::create_directory(pasta / "A"), fs::copy_file(caminho("inicio.gv"), caminho("A/jogo.gv"));
        std::map<std::string, std::string> outro;
        auto trocar = [&] {
            fs::rename(pasta / "A", pasta / "B");
            fs::rename(pasta / "C", pasta / "A");
            outro = teste::pasta_inteira(pasta / "A");
        };
        if (ao_carregar) armar_accao("lugar.remover", trocar);
        ASSERT_EQ(carregar("A/jogo.gv", "I"), Resultado_Jogo::Aberto);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        if (std::string(quando) == "a round") trocar();
        if (std::string(quando) == "the close") armar_accao("lugar.remover", trocar);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        porta.mensagens.clear();
        Fechar_Base_Dados();
        EXPECT_TRUE(porta.mensagens.empty()) << ultima();
        EXPECT_TRUE(teste::pasta_inteira(pasta / "A") == outro);
        EXPECT_FALSE(fs::exists(pasta / "B" / "jogo.gv-wal"));
        abre("A/jogo.gv", 1, "Outro");
        abre("B/jogo.gv", 3, ao_carregar ? "Meu" : "Manuel Tester");
    }
}

// One file under two names: loaded and played under one, it is written
// anew there; the other keeps its bytes and its own log, and takes it.
TEST_F(Nomes, AFileWithTwoNamesIsWrittenAnewUnderTheOneLoaded) {
    SALTAR_SEM_LIGACOES();
    com_log("um.gv", "Do Um");
    fs::create_hard_link(caminho("um.gv"), caminho("dois.gv"));
    const std::string um = teste::ler_bytes(caminho("um.gv")), log = teste::ler_bytes(caminho("um.gv-wal"));
    ASSERT_EQ(carregar("dois.gv"), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("um.gv")), um);
    EXPECT_EQ(teste::ler_bytes(caminho("um.gv-wal")), log);
    abre("um.gv", 1, "Do Um");
    abre("dois.gv", 2, "Manuel Tester");
}

// Links round in a circle, of the file or of its folders, and a link into
// a folder that is not there: named for what they are, by a load and by a
// new game.
TEST_F(Nomes, PathsThatReachNoFileAreNamedForWhatTheyAre) {
    SALTAR_SEM_LIGACOES();
    fs::create_symlink("m.gv", pasta / "l.gv");
    fs::create_symlink("l.gv", pasta / "m.gv");
    fs::create_directory_symlink("b", pasta / "a");
    fs::create_directory_symlink("a", pasta / "b");
    fs::create_symlink(pasta / "nao" / "x.gv", pasta / "perdido.gv");
    const std::string circulo = "passa por ligações que levam umas às outras em círculo, e não chega a nenhum ficheiro.";
    const struct {
        const char* nome;
        std::string texto;
    } casos[] = {
        {"l.gv", "O caminho \"" + caminho("l.gv") + "\" " + circulo},
        {"a/x.gv", "O caminho \"" + caminho("a/x.gv") + "\" " + circulo},
        {"perdido.gv", "A pasta \"" + caminho("nao") + "\" não existe."},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(carregar(c.nome), Resultado_Jogo::Recusado);
        EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\n" + c.texto + "\nO ficheiro do jogo não foi alterado.");
        EXPECT_EQ(novo_jogo(c.nome, escolhas()), Resultado_Jogo::Recusado);
        EXPECT_EQ(ultima(), "Não foi possível criar o novo jogo.\n" + c.texto + "\nNenhum ficheiro de jogo foi alterado.");
    }
}

// Every game a window opens stays held until it closes: made new, written
// anew, loaded. A window that cannot write the file (another user's) still
// sees the hold, and makes no game over it.
TEST_F(Nomes, AGameIsHeldTillItClosesEvenFromAWindowThatCannotWriteIt) {
    SALTAR_SEM_LIGACOES();
    fs::create_hard_link(caminho("inicio.gv"), caminho("ligado.gv"));
    for (const auto& abrir : std::initializer_list<std::function<Resultado_Jogo()>>{
             [&] { return novo_jogo("novo.gv", escolhas()); }, [&] { return carregar("ligado.gv"); },
             [&] { return carregar("jogo.gv"); }}) {
        ASSERT_EQ(abrir(), Resultado_Jogo::Aberto);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        ::chmod(Ficheiro_Jogo.c_str(), 0444);
        morrer([&] {
            __user_cap_header_struct cabeca{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct nenhuma[2]{};
            porta.respostas.assign(1, Resposta::Sim);
            porta.escolher(Ficheiro_Escolhido{Ficheiro_Jogo, "x"});
            if (::syscall(SYS_capset, &cabeca, nenhuma) == 0 && Novo_Jogo(escolhas()) == Resultado_Jogo::Recusado &&
                ultima().find("está aberto noutra janela") != std::string::npos)
                ::kill(::getpid(), SIGKILL);
        });
        ::chmod(Ficheiro_Jogo.c_str(), 0644);
        Fechar_Base_Dados();
    }
}

// Every step works on the file first reached: a link changed during a load
// leaves it on the file it led to, and a new game never replaces a file
// that took its name while it was being made (the player is told).
TEST_F(Nomes, EveryStepWorksOnTheFileFirstReached) {
    SALTAR_SEM_LIGACOES();
    com_log("outro.gv", "Outro");
    const auto outro = teste::ler_bytes(caminho("outro.gv"));
    fs::create_symlink("jogo.gv", pasta / "l.gv");
    armar_accao("carregar.caminho", [&] {
        fs::remove(pasta / "l.gv");
        fs::create_symlink("outro.gv", pasta / "l.gv");
    });
    abre("l.gv", 1, "Manuel Tester");
    EXPECT_EQ(teste::ler_bytes(caminho("outro.gv")), outro);
    armar_accao("novo_jogo.copia", [&] { fs::copy_file(caminho("outro.gv"), caminho("novo.gv")); });
    EXPECT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Recusado);
    EXPECT_NE(ultima().find("O ficheiro \"novo.gv\" foi movido, mudou de nome ou foi substituído por outro programa"),
              std::string::npos) << ultima();
    EXPECT_EQ(teste::ler_bytes(caminho("novo.gv")), outro);
}

// A new game's file that loses its name as the game is first opened:
// the player is told where the new game is, never that the name holds it.
TEST_F(Nomes, ANewGameWhoseNameIsLostAsItStartsIsToldWhereItIs) {
    const auto outro = outro_jogo("outro.gv");
    const std::string copia = "O novo jogo foi guardado em \"" + caminho("jogo (2).gv") + "\". Para o jogar, abra esse ficheiro.";
    const struct {
        const char* ponto;
        std::string feito, dito;
    } casos[] = {
        {"novo_jogo.no_lugar", "apagado", "O jogo que estava em \"jogo.gv\" foi substituído pelo novo. O ficheiro do "
                                          "novo jogo \"jogo.gv\" foi apagado enquanto o jogo era começado. " + copia},
        {"em_jogo.commit", "movido", "O ficheiro do novo jogo \"jogo.gv\" foi movido ou mudou de nome enquanto o jogo "
                                     "era começado. O novo jogo está gravado nele, agora em \"" + caminho("y.gv") +
                                     "\". Para o jogar, abra-o aí."},
        {"novo_jogo.no_lugar", "substituido", "O ficheiro do novo jogo \"jogo.gv\" foi substituído ou apagado enquanto "
                                              "o jogo era começado; o ficheiro que tem agora esse nome não foi tocado. " + copia},
    };
    for (const auto& c : casos) {
        armar_accao(c.ponto, [&] {
            if (c.feito == "movido") fs::rename(caminho("jogo.gv"), caminho("y.gv"));
            else teste::apagar_de_fora(caminho("jogo.gv"));
            if (c.feito == "substituido") fs::copy_file(caminho("outro.gv"), caminho("jogo.gv"));
        });
        porta.respostas.assign(1, Resposta::Sim);
        EXPECT_EQ(novo_jogo("jogo.gv", escolhas()), Resultado_Jogo::Recusado);
        EXPECT_EQ(ultima(), "Não foi possível começar o novo jogo.\n" + c.dito);
        abre(c.feito == "movido" ? "y.gv" : "jogo (2).gv", 1, "Manuel Tester");
        fs::remove(caminho("jogo (2).gv"));
    }
    EXPECT_TRUE(teste::ler_bytes(caminho("jogo.gv")) == outro);
}

// A second name given to a new game's file as it is first opened keeps
// the bytes it had; the game goes on under its own, written anew.
TEST_F(Nomes, ASecondNameGivenToANewGameAsItStartsKeepsItsBytes) {
    SALTAR_SEM_LIGACOES();
    std::string dado;
    armar_accao("novo_jogo.no_lugar", [&] {
        fs::create_hard_link(caminho("novo.gv"), caminho("copia.gv"));
        dado = teste::ler_bytes(caminho("copia.gv"));
    });
    ASSERT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Aberto) << ultima();
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    Fechar_Base_Dados();
    EXPECT_TRUE(teste::ler_bytes(caminho("copia.gv")) == dado) << "the second name keeps its bytes";
    abre("copia.gv", 1, "Manuel Tester");
    abre("novo.gv", 2, "Manuel Tester");
}

} // namespace

namespace {

// Between the log held and the look at the game's name, another game is
// moved over the one loaded: no log is left beside it, nothing is written
// to it, and what was loaded is saved beside it. A second window opens
// each game as it is.
TEST_F(Nomes, ALogIsMadeOnlyBesideTheGameHeld) {
    const auto outro = outro_jogo("outro.gv");
    armar_accao("lugar.log", [&] { fs::rename(caminho("outro.gv"), caminho("jogo.gv")); });
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro do jogo \"jogo.gv\" foi substituído ou apagado "
                        "enquanto o jogo era aberto; o ficheiro que tem agora esse nome não foi tocado. Tudo o que "
                        "jogou até aqui foi guardado em \"" + caminho("jogo (2).gv") + "\". Para continuar, abra esse "
                        "ficheiro.");
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), outro);
    EXPECT_FALSE(fs::exists(caminho("jogo.gv-wal")));
    EXPECT_TRUE(noutra_janela([&] { return carregar() == Resultado_Jogo::Aberto && Nome_Treinador == "Outro"; }));
    abre("jogo (2).gv", 1, "Manuel Tester");
}

// The file deleted, or replaced, as the game closes, after the close's
// look at its name: the close looks once more, saves it beside, and says
// where.
TEST_F(Nomes, AFileLostAsTheGameClosesIsSavedAndToldWhere) {
    const auto outro = outro_jogo("outro.gv");
    const struct {
        const char* ponto;
        bool substituido;
        std::string dito;
    } casos[] = {
        {"em_jogo.fechar", false, "O ficheiro do jogo \"jogo.gv\" foi apagado enquanto o jogo estava aberto. "},
        {"lugar.remover", true, "O ficheiro do jogo \"jogo.gv\" foi substituído ou apagado enquanto o jogo estava "
                                "aberto; o ficheiro que tem agora esse nome não foi tocado. "},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.ponto);
        recomecar();
        fs::remove(caminho("jogo (2).gv"));
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        armar_accao(c.ponto, [&] {
            teste::apagar_de_fora(caminho("jogo.gv"));
            if (c.substituido) fs::copy_file(caminho("outro.gv"), caminho("jogo.gv"));
        });
        porta.mensagens.clear();
        Fechar_Base_Dados();
        ASSERT_EQ(porta.mensagens.size(), 1u);
        EXPECT_EQ(ultima(), c.dito + "Tudo o que jogou até aqui foi guardado em \"" + caminho("jogo (2).gv") +
                                "\". Para continuar, abra esse ficheiro.");
        if (c.substituido) {
            EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), outro);
        }
        abre("jogo (2).gv", 2, "Manuel Tester");
    }
}

// The file deleted while it is loaded, once its log is taken in: the load
// says so, and what it took in is saved beside.
TEST_F(Nomes, AFileDeletedAsItIsLoadedIsSavedWithWhatTheLoadTookIn) {
    com_log("jogo.gv", "Do Log");
    armar_accao("carregar.tomar", [&] { teste::apagar_de_fora(caminho("jogo.gv")); });
    EXPECT_EQ(carregar("jogo.gv", "I"), Resultado_Jogo::Recusado);
    EXPECT_EQ(ultima(), "The game could not be opened.\nThe game's file \"jogo.gv\" was deleted while the game was "
                        "being opened. Everything you played until now was saved in \"" + caminho("jogo (2).gv") +
                        "\". To go on, open that file.");
    abre("jogo (2).gv", 1, "Do Log");
}

// The file moved to another folder as the engine opens it, or renamed as
// its log is taken in: the load says where what the log held is now.
TEST_F(Nomes, AFileMovedAsItIsLoadedIsToldWhereItIs) {
    fs::create_directories(pasta / "outra");
    for (const std::string ponto : {"carregar.abrir", "carregar.tomar"}) {
        const bool a_abrir = ponto == "carregar.abrir";
        fs::remove(caminho("jogo.gv-wal"));
        com_log("jogo.gv", "Do Log");
        armar_accao(ponto, [&] { fs::rename(caminho("jogo.gv"), a_abrir ? pasta / "outra" / "y.gv" : pasta / "y.gv"); });
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro do jogo \"jogo.gv\" foi movido ou mudou de nome "
                            "enquanto o jogo era aberto. Tudo o que jogou até aqui " +
                                (a_abrir ? "foi guardado em \"" + caminho("jogo (2).gv") + "\". Para continuar, abra esse ficheiro."
                                         : "está gravado nele, agora em \"" + caminho("y.gv") + "\". Para continuar, abra o jogo aí."));
        abre(a_abrir ? "jogo (2).gv" : "y.gv", 1, "Do Log");
    }
}

// A pipe put under the game's name as the load opens it is no game, and
// is left there.
TEST_F(Nomes, APipePutUnderTheNameAsTheLoadOpensItIsNoGame) {
    SALTAR_SEM_LIGACOES();
    armar_accao("bloqueio.aberto", [&] {
        teste::apagar_de_fora(caminho("jogo.gv"));
        ::mkfifo(caminho("jogo.gv").c_str(), 0600);
    });
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    EXPECT_EQ(ultima(), "O ficheiro escolhido não é um jogo do Golvantario, ou não pode ser aberto.");
    EXPECT_TRUE(fs::is_fifo(caminho("jogo.gv")));
}

// A second name given to the file while it is played (a backup's
// snapshot): the game is written anew under its own name before anything
// more is written, and the snapshot keeps the bytes it had.
TEST_F(Nomes, ASecondNameGivenInPlayKeepsTheBytesItHadWhenGiven) {
    SALTAR_SEM_LIGACOES();
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
    const auto copia = teste::ler_bytes(caminho("copia.gv"));
    for (int i = 0; i < 2; ++i) ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("copia.gv")), copia);
    EXPECT_FALSE(fs::exists(caminho("jogo.gv.a-cifrar")) || fs::exists(caminho("jogo.gv.a-criar")));
    abre("copia.gv", 2, "Manuel Tester");
    abre("jogo.gv", 4, "Manuel Tester");
}

// The game's name given to another file as the game is written anew under
// it: that file is kept, and the player told where the game is.
TEST_F(Nomes, ASecondNameGivenInPlayThenTheFirstTakenKeepsBoth) {
    SALTAR_SEM_LIGACOES();
    const auto outro = outro_jogo("outro.gv");
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
    armar_accao("lugar.substituir", [&] { fs::rename(caminho("outro.gv"), caminho("jogo.gv")); });
    recusada("O ficheiro do jogo \"jogo.gv\" foi movido ou mudou de nome enquanto o jogo estava aberto; o ficheiro "
             "que tem agora esse nome não foi tocado. Tudo o que jogou até aqui está gravado nele, agora em \"" +
             caminho("copia.gv") + "\".");
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), outro);
    abre("copia.gv", 2, "Manuel Tester");
}

// Where the game is, told as it is when it is told: under the other name
// it was given in its folder once the first is removed (never a name the
// system marks deleted), then under the name it was moved to, then under
// its own again.
TEST_F(Nomes, WhereTheGameIsIsToldAsItIsWhenTold) {
    SALTAR_SEM_LIGACOES();
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    fs::create_hard_link(caminho("jogo.gv"), caminho("outro.gv"));
    teste::apagar_de_fora(caminho("jogo.gv"));
    const std::string movido = "O ficheiro do jogo \"jogo.gv\" foi movido ou mudou de nome enquanto o jogo estava "
                               "aberto. Tudo o que jogou até aqui está gravado nele, agora em \"";
    recusada(movido + caminho("outro.gv") + "\".");
    fs::rename(caminho("outro.gv"), caminho("b.gv"));
    recusada(movido + caminho("b.gv") + "\".");
    fs::rename(caminho("b.gv"), caminho("jogo.gv"));
    recusada(movido + caminho("jogo.gv") + "\".");
    Fechar_Base_Dados();
    abre("jogo.gv", 2, "Manuel Tester");
}

// A copy of a game whose file was deleted is announced only once it is
// whole: a read that fails leaves none and says so, and leaving the game
// makes it and says where, never over a file of that name.
TEST_F(Nomes, ACopyIsAnnouncedOnlyWholeAndIsTriedAgainAtTheNextAction) {
    const auto alheio = outro_jogo("jogo (2).gv");
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    teste::apagar_de_fora(caminho("jogo.gv"));
    armar_falha("copiar.ler");
    recusada("O ficheiro do jogo \"jogo.gv\" foi apagado enquanto o jogo estava aberto. Não foi possível guardar o "
             "que jogou num ficheiro próprio na pasta \"" + pasta.string() + "\". Nesta janela nada mais é gravado; "
             "o jogo tenta de novo a cada acção e quando sair do jogo; se então ainda não puder, o que jogou "
             "perde-se.");
    EXPECT_FALSE(fs::exists(caminho("jogo (3).gv")));
    fecha_com_copia("jogo (3).gv");
    EXPECT_EQ(teste::ler_bytes(caminho("jogo (2).gv")), alheio);
    abre("jogo (3).gv", 2, "Manuel Tester");
}

// A copy refused by a full disk is made once there is room, and holds
// what the log held when its move into the file failed.
TEST_F(Nomes, ACopyRefusedByAFullDiskIsMadeOnceThereIsRoomWithTheLog) {
    teste::Montagem disco(pasta / "disco", 16384);
    if (!disco.montada()) GTEST_SKIP() << "no file system of the test's own here";
    fs::copy_file(caminho("inicio.gv"), pasta / "disco" / "jogo.gv");
    ASSERT_EQ(carregar("disco/jogo.gv"), Resultado_Jogo::Aberto);
    // Every move of the log into the file fails: the round stays in the log.
    teste::Disco_Avariado::armar(teste::Operacao::Escrita, 1, true, teste::Papel::Base);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    fs::remove(pasta / "disco" / "jogo.gv");
    disco.encher();
    recusada("Não foi possível guardar o que jogou num ficheiro próprio na pasta \"" + (pasta / "disco").string() +
             "\". Nesta janela nada mais é gravado; o jogo tenta de novo a cada acção e quando sair do jogo: liberte "
             "espaço nesse disco antes de sair, ou o que jogou perde-se.");
    fs::remove(pasta / "disco" / "enchimento");
    const std::string copia = (pasta / "disco" / "jogo (2).gv").string();
    recusada("Tudo o que jogou até aqui foi guardado em \"" + copia + "\".");
    EXPECT_TRUE(fs::exists(copia + "-wal")) << "the log's rounds go with it";
    teste::Disco_Avariado::limpar();
    Fechar_Base_Dados();
    abre("disco/jogo (2).gv", 2, "Manuel Tester");
}

// A failure of the disk while the load reads the game with its own journal
// in a private copy is the temporary folder's, not the journal's damage.
TEST_F(Nomes, ADiskErrorInThePrivateCopyIsTheTemporaryFolders) {
    using teste::Disco_Avariado;
    diario_quente("Quente");
    const auto antes = teste::pasta_inteira(pasta);
    for (auto op : {teste::Operacao::Escrita, teste::Operacao::Sincronia, teste::Operacao::Remocao}) {
        SCOPED_TRACE(teste::nome_operacao(op));
        Disco_Avariado::armar(op, 1, false);
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        EXPECT_EQ(Disco_Avariado::falhadas(), 1);
        EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nHouve um erro de leitura ou escrita no disco da pasta "
                            "temporária \"" + temporaria.string() + "\".\nO ficheiro do jogo não foi alterado.");
        EXPECT_TRUE(teste::pasta_inteira(pasta) == antes);
    }
    Disco_Avariado::limpar();
    abre("jogo.gv", 1, "Quente");
}

// The game renamed while the load looks at what is beside it, with its log
// or without: told as moved, and what the load saw is saved whole.
TEST_F(Nomes, AGameRenamedWhileTheLoadLooksIsToldMoved) {
    for (bool com_o_log : {true, false}) {
        SCOPED_TRACE(com_o_log ? "with its log" : "without its log");
        for (const char* f : {"jogo (2).gv", "jogo (2).gv-wal", "y.gv", "y.gv-wal", "jogo.gv-wal"}) fs::remove(caminho(f));
        com_log("jogo.gv", "Do Log");
        armar_accao("carregar.copia", [&] {
            fs::rename(caminho("jogo.gv"), caminho("y.gv"));
            if (com_o_log) fs::rename(caminho("jogo.gv-wal"), caminho("y.gv-wal"));
        });
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro do jogo \"jogo.gv\" foi movido ou mudou de "
                            "nome enquanto o jogo era aberto. Tudo o que jogou até aqui foi guardado em \"" +
                                caminho("jogo (2).gv") + "\". Para continuar, abra esse ficheiro.");
        abre("jogo (2).gv", 1, "Do Log");
        abre("y.gv", 1, com_o_log ? "Do Log" : "Manuel Tester");
    }
}

// A new game is never made under a making's name; a load killed as it
// removes its private folder leaves one the next load takes at once.
TEST_F(Nomes, MakingsNamesAndPrivateFoldersLeaveNothingBehind) {
    for (const char* nome : {"x.a-criar", "x.GV.A-CIFRAR", "x.a-semear", ".gvnovo-x.gv"}) {
        EXPECT_EQ(novo_jogo(nome, escolhas()), Resultado_Jogo::Recusado);
        EXPECT_EQ(ultima(), std::string("Não foi possível criar o novo jogo.\nO nome \"") + nome +
                                "\" acaba como os ficheiros que o Golvantario põe ao lado de um jogo enquanto o cria. "
                                "Escolha outro nome.\nNenhum ficheiro de jogo foi alterado.");
        EXPECT_FALSE(fs::exists(caminho(nome)));
    }
    // Nor under the name of what is beside a game in play.
    for (const char* lingua : {"P", "I"}) {
        Lingua = lingua;
        for (const char* nome : {"x.gv-wal", "x.GV-Journal", "x-SHM", "x.gv-Aberto"}) {
            EXPECT_EQ(novo_jogo(nome, escolhas()), Resultado_Jogo::Recusado);
            EXPECT_EQ(ultima(), *lingua == 'P'
                                    ? std::string("Não foi possível criar o novo jogo.\nO nome \"") + nome +
                                          "\" acaba como os ficheiros que o Golvantario põe ao lado de um jogo "
                                          "enquanto o joga. Escolha outro nome.\nNenhum ficheiro de jogo foi alterado."
                                    : std::string("The new game could not be created.\nThe name \"") + nome +
                                          "\" ends like the files Golvantario puts beside a game while it is played. "
                                          "Choose another name.\nNo game file was changed.");
            EXPECT_FALSE(fs::exists(caminho(nome)) || fs::exists(caminho(std::string(nome) + ".a-criar")));
        }
    }
    Lingua = "P";
    auto copias = [&] {
        int n = 0;
        for (const auto& f : fs::directory_iterator(temporaria)) n += f.path().filename().string().rfind("gv-copia-", 0) == 0;
        return n;
    };
    com_log("jogo.gv", "Do Log");
    morrer([&] {
        armar_morte("copia_privada.remover");
        carregar();
    });
    ASSERT_EQ(copias(), 1);
    abre("jogo.gv", 1, "Do Log");
    EXPECT_EQ(copias(), 0);
}

// A file with two names is written anew under the one loaded only while
// that name is the game's: one given to another file meanwhile keeps it,
// and the player is told where the game is.
TEST_F(Nomes, ARewriteReplacesOnlyWhileTheNameIsTheGames) {
    SALTAR_SEM_LIGACOES();
    fs::create_hard_link(caminho("jogo.gv"), caminho("outro.gv"));
    const auto antes = teste::ler_bytes(caminho("jogo.gv"));
    const auto terceiro = outro_jogo("terceiro.gv");
    armar_accao("lugar.substituir", [&] { fs::rename(caminho("terceiro.gv"), caminho("jogo.gv")); });
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro do jogo \"jogo.gv\" foi movido ou mudou de nome "
                        "enquanto o jogo era aberto; o ficheiro que tem agora esse nome não foi tocado. Tudo o que "
                        "jogou até aqui está gravado nele, agora em \"" + caminho("outro.gv") + "\". Para continuar, "
                        "abra o jogo aí.");
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), terceiro);
    EXPECT_EQ(teste::ler_bytes(caminho("outro.gv")), antes);
}

// A new game holds its making before it looks for the file: one another
// window finished meanwhile is found, and held there, before any question.
TEST_F(Nomes, ANewGameHoldsItsMakingBeforeItLooksForTheFile) {
    const Janela w1 = janela1([&](const Janela& daqui) {
        armar_accao("novo_jogo.copia", [&] {
            if (!daqui.seguir() || !daqui.esperar()) _exit(4);
        });
        if (novo_jogo("novo.gv", escolhas()) != Resultado_Jogo::Aberto) return 3;
        return daqui.seguir() && daqui.esperar() ? 0 : 4;
    });
    ASSERT_TRUE(w1.esperar());
    // Waiting for the making, this window lets the other finish it.
    armar_accao("obra.esperar", [&] {
        if (!w1.seguir() || !w1.esperar()) FAIL();
    });
    porta.mensagens.clear();
    porta.respostas.assign(1, Resposta::Sim);
    EXPECT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Recusado);
    EXPECT_EQ(porta.mensagens.size(), 1u) << "no question";
    EXPECT_NE(ultima().find("O jogo \"novo.gv\" está aberto noutra janela do Golvantario."), std::string::npos)
        << ultima();
    ASSERT_TRUE(w1.seguir());
    EXPECT_TRUE(w1.acabou_bem());
    abre("novo.gv", 1, "Manuel Tester");
}

// Another program writes over the open game's file in place, as `cp`
// restoring a backup does: a backup of this game, or another game. The
// window writes nothing more to it, at a round or as it closes, and leaves
// nothing beside it; the next load opens what was written, with no word.
TEST_F(Nomes, AFileWrittenOverInPlaceIsNeverWrittenAgainAndSaysSo) {
    const auto outro = outro_jogo("outro.gv");
    const std::string alterado = "O ficheiro do jogo \"jogo.gv\" foi alterado por outro programa enquanto o jogo "
                                 "estava aberto: tem agora o que esse programa lá escreveu, e esta janela não lhe "
                                 "tocou. O que jogou nesta janela não ficou em nenhum ficheiro, a não ser que o que "
                                 "lá foi escrito já o tivesse. ";
    for (const char* escrito : {"inicio.gv", "outro.gv"})
        for (bool ronda : {true, false}) {
            SCOPED_TRACE(std::string(escrito) + (ronda ? ", then a round" : ", then the close"));
            recomecar();
            const std::string bytes = teste::ler_bytes(caminho(escrito));
            ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
            ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
            const auto no = fs::status(caminho("jogo.gv"));
            std::ofstream(caminho("jogo.gv"), std::ios::binary | std::ios::trunc) << bytes;
            if (ronda)
                recusada(alterado + "Nesta janela nada mais é gravado: saia do jogo e abra-o de novo para continuar "
                                    "a partir do que lá está.");
            porta.mensagens.clear();
            Fechar_Base_Dados();
            ASSERT_EQ(porta.mensagens.size(), ronda ? 0u : 1u);
            if (!ronda) {
                EXPECT_EQ(ultima(), alterado + "Para continuar a partir do que lá está, abra o jogo de novo.");
            }
            EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), bytes);
            EXPECT_EQ(fs::status(caminho("jogo.gv")).permissions(), no.permissions());
            EXPECT_FALSE(fs::exists(caminho("jogo.gv-wal")) || fs::exists(caminho("jogo (2).gv")));
            abre("jogo.gv", 1, escrito == std::string("outro.gv") ? "Outro" : "Manuel Tester");
        }
    EXPECT_EQ(teste::ler_bytes(caminho("outro.gv")), outro);
}

// What only touches the file, or only reads it, is no other program's
// writing: play goes on.
TEST_F(Nomes, AFileTouchedLinkedOrReadIsPlayedOn) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    const std::function<void()> accoes[] = {
        [&] { fs::last_write_time(caminho("jogo.gv"), fs::file_time_type::clock::now() + std::chrono::hours(1)); },
        [&] { fs::last_write_time(caminho("jogo.gv-wal"), fs::file_time_type::clock::now() - std::chrono::hours(1)); },
        [&] {
            fs::permissions(caminho("jogo.gv"), fs::perms::owner_write, fs::perm_options::remove);
            fs::permissions(caminho("jogo.gv"), fs::perms::owner_write, fs::perm_options::add);
        },
        [&] { fs::copy_file(caminho("jogo.gv"), caminho("guardado.gv")); },
    };
    for (const auto& accao : accoes) {
        accao();
        porta.mensagens.clear();
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada) << ultima();
    }
    Fechar_Base_Dados();
    abre("jogo.gv", 5, "Manuel Tester");
}

// The game's folder deleted, or moved to another disk, while it is played:
// what was played is saved whole in the folder the game's path names now,
// if there is one, else in the player's own data folder, and told so.
TEST_F(Nomes, AGameWhoseFolderIsGoneIsSavedWhereAFolderIs) {
    const fs::path dados = pasta / "dados", sub = pasta / "sub";
    db::definir_pasta_dados(dados.string());
    for (bool refeita : {false, true}) {
        SCOPED_TRACE(refeita ? "the folder made again" : "no folder there");
        // A file system in user space keeps the open game's file in its
        // folder, hidden: such a folder cannot be deleted while played.
        if (!jogar_e_apagar_pasta(sub)) GTEST_SKIP() << "the folder keeps the open game's file";
        if (refeita) fs::create_directories(sub);
        const fs::path copia = (refeita ? sub : dados) / "jogo (2).gv";
        recusada("A pasta do jogo \"" + sub.string() + "\" foi movida ou apagada enquanto o jogo estava aberto. Tudo "
                 "o que jogou até aqui foi guardado em \"" + copia.string() + "\". Nesta janela nada mais é gravado");
        Fechar_Base_Dados();
        abre(fs::relative(copia, pasta).string(), 2, "Manuel Tester");
    }
    db::definir_pasta_dados({});
}

// The copy is told where it is each time it is told: put back under the
// game's name, it is the game there, not another's file; deleted, it is
// made again as the game closes.
TEST_F(Nomes, TheCopyIsToldWhereItIsAndMadeAgainWhenGone) {
    const std::string apagado = "O ficheiro do jogo \"jogo.gv\" foi apagado enquanto o jogo estava aberto. Tudo o que "
                                "jogou até aqui foi guardado em \"";
    for (bool renomeada : {true, false}) {
        SCOPED_TRACE(renomeada ? "renamed back" : "deleted");
        recomecar();
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
        ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
        teste::apagar_de_fora(caminho("jogo.gv"));
        recusada(apagado + caminho("jogo (2).gv") + "\".");
        if (renomeada) fs::rename(caminho("jogo (2).gv"), caminho("jogo.gv"));
        else fs::remove(caminho("jogo (2).gv"));
        porta.mensagens.clear();
        Fechar_Base_Dados();
        ASSERT_EQ(porta.mensagens.size(), 1u);
        const std::string onde = renomeada ? "jogo.gv" : "jogo (2).gv";
        EXPECT_EQ(ultima(), apagado + caminho(onde) + "\". Para continuar, abra esse ficheiro.");
        abre(onde, 2, "Manuel Tester");
    }
}

// A kill while the copy is written leaves no half copy under its name, that
// the next load would call damaged.
TEST_F(Nomes, AKillDuringTheCopyLeavesNoHalfCopy) {
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto || Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
        teste::apagar_de_fora(caminho("jogo.gv"));
        armar_morte("copiar.ler", 2);
        Jogar_Proximo_Jogo();
    });
    for (const auto& f : fs::directory_iterator(pasta))
        EXPECT_EQ(f.path().filename().string().find("jogo ("), std::string::npos) << f.path();
}

// A kill between the steps of a rewrite, its log set aside: the next load
// takes back what was set aside or, once the file written anew has the
// name, lets it go; nothing set aside stays.
TEST_F(Nomes, AKillBetweenARewritesStepsLosesNothing) {
    SALTAR_SEM_LIGACOES();
    for (const char* ponto : {"lugar.postos", "lugar.substituido"}) {
        SCOPED_TRACE(ponto);
        for (const char* f : {"jogo.gv", "jogo.gv-wal", "copia.gv"}) fs::remove(caminho(f));
        com_log("jogo.gv", "Do Log");
        fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
        morrer([&] {
            armar_morte(ponto);
            carregar();
        });
        ASSERT_TRUE(fs::exists(caminho("jogo.gv-wal.gvantigo")));
        abre("jogo.gv", 1, "Do Log");
        EXPECT_FALSE(fs::exists(caminho("jogo.gv-wal.gvantigo")));
    }
}

// Another game moved over the game's name and its log's as the close
// removes the log: that game keeps its log, and the game is saved beside.
TEST_F(Nomes, AGameMovedOverBothNamesAsTheCloseRemovesTheLogKeepsItsLog) {
    com_log("outro.gv", "Do Outro");
    const auto log = teste::ler_bytes(caminho("outro.gv-wal"));
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    armar_accao("lugar.de_lado", [&] {
        fs::rename(caminho("outro.gv"), caminho("jogo.gv"));
        fs::rename(caminho("outro.gv-wal"), caminho("jogo.gv-wal"));
    });
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv-wal")), log);
    abre("jogo.gv", 1, "Do Outro");
    abre("jogo (2).gv", 2, "Manuel Tester");
}

// A second name given after the last round, as a backup's snapshot: the
// close writes nothing into it either.
TEST_F(Nomes, ASecondNameGivenBeforeTheCloseKeepsItsBytes) {
    SALTAR_SEM_LIGACOES();
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    fs::create_hard_link(caminho("jogo.gv"), caminho("copia.gv"));
    const auto copia = teste::ler_bytes(caminho("copia.gv"));
    Fechar_Base_Dados();
    EXPECT_EQ(teste::ler_bytes(caminho("copia.gv")), copia);
    abre("jogo.gv", 2, "Manuel Tester");
    abre("copia.gv", 2, "Manuel Tester");
}

} // namespace
