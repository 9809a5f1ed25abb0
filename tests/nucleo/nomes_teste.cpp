// A game's names changing under it: a file replaced, a folder renamed, one
// file under two names, paths that lead nowhere. Each window keeps to the
// file it holds, tells the player what became of what was played, and
// touches nothing of another game's.

#include <linux/capability.h>
#include <sys/syscall.h>

#include "data/consultas.h"
#include "desk/proximo_jogo.h"
#include "mortes.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

class Nomes : public teste::Com_Mortes {
protected:
    const std::string& ultima() const { return porta.mensagens.back().texto; }
    // The game in `nome` (a copy of the one made), killed once the manager
    // was renamed: its log beside it holds the rename.
    void com_log(const std::string& nome, const char* treinador) {
        fs::create_directories(fs::path(caminho(nome)).parent_path());
        fs::copy_file(caminho("inicio.gv"), caminho(nome), fs::copy_options::overwrite_existing);
        morrer([&] {
            if (carregar(nome) != Resultado_Jogo::Aberto) _exit(3);
            armar_morte("em_jogo.commit");
            Base_Dados->Execute("UPDATE principal SET nome = ?", {treinador});
        });
    }
    // Loaded with no word, at this matchday and with this manager.
    void abre(const std::string& nome, int jornada, const std::string& treinador) {
        porta.mensagens.clear();
        ASSERT_EQ(carregar(nome), Resultado_Jogo::Aberto) << ultima();
        EXPECT_TRUE(porta.mensagens.empty()) << ultima();
        EXPECT_EQ(Jornada_Actual, jornada) << nome;
        EXPECT_EQ(Nome_Treinador, treinador) << nome;
        Fechar_Base_Dados();
    }
};

// Window 1 plays the game; a backup is moved over its file; window 2 loads
// the file, and makes a new game over it. Window 2 is refused and touches
// nothing; window 1 is told at its next round that its file was replaced,
// and what it played is saved beside under a name of its own.
TEST_F(Nomes, AGameReplacedUnderAnOpenWindowKeepsBothGamesApartAndSaysSo) {
    int ida[2], volta[2];
    char c = 0;
    ASSERT_TRUE(::pipe(ida) == 0 && ::pipe(volta) == 0);
    const pid_t janela1 = fork();
    ASSERT_GE(janela1, 0);
    if (janela1 == 0) {
        // Only this window's ends: a test that fails leaves it no one to wait for.
        ::close(ida[1]);
        ::close(volta[0]);
        if (carregar() != Resultado_Jogo::Aberto || Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
        if (::write(volta[1], "x", 1) != 1 || ::read(ida[0], &c, 1) != 1) _exit(4);
        porta.mensagens.clear();
        const bool falhou = Jogar_Proximo_Jogo() == Resultado_Ronda::Falhada;
        Fechar_Base_Dados();
        std::ofstream(caminho("janela1")) << porta.mensagens.size() << "\n" << ultima();
        _exit(falhou ? 0 : 5);
    }
    ASSERT_EQ(::read(volta[0], &c, 1), 1);
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
    ASSERT_EQ(::write(ida[1], "x", 1), 1);
    int estado = 0;
    ASSERT_EQ(::waitpid(janela1, &estado, 0), janela1);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "window 1's round after the replacement failed";
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

} // namespace
