// A game reached by any path is judged by its own files; two windows never
// make one game; what killed loads and new games leave goes once no window
// holds it; and a refusal names the file and what is left of it.

#include <poll.h>

#include "data/consultas.h"
#include "disco_avariado.h"
#include "montagem.h"
#include "mortes.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"

using namespace gv;
using teste::Disco_Avariado;
namespace fs = std::filesystem;

namespace {

class Caminhos : public teste::Com_Mortes {
protected:
    void TearDown() override {
        Disco_Avariado::limpar();
        Com_Mortes::TearDown();
    }
    // The game in `nome`, killed right after the manager was renamed: its
    // log beside it holds the rename.
    void com_log(const std::string& nome, const char* treinador) {
        morrer([&] {
            if (carregar(nome) != Resultado_Jogo::Aberto) _exit(3);
            armar_morte("em_jogo.commit");
            Base_Dados->Execute("UPDATE principal SET nome = ?", {treinador});
        });
    }
};

// However the path is written, the game is the file it leads to, with the
// log beside that file; what stands beside the link is no concern of it.
TEST_F(Caminhos, AGameReachedThroughALinkIsJudgedByItsOwnFiles) {
    SALTAR_SEM_LIGACOES();
    fs::create_directory(pasta / "real");
    fs::create_directory_symlink(pasta / "real", pasta / "pasta-ligada");
    fs::create_symlink(pasta / "real" / "jogo.gv", pasta / "ligacao.gv");
    const std::string velho = "lixo de outro tempo";
    std::ofstream(caminho("ligacao.gv-wal")) << velho;
    for (const char* nome : {"ligacao.gv", "pasta-ligada/jogo.gv", "real/../pasta-ligada/./jogo.gv"}) {
        SCOPED_TRACE(nome);
        fs::copy_file(caminho("inicio.gv"), pasta / "real" / "jogo.gv", fs::copy_options::overwrite_existing);
        com_log("real/jogo.gv", "Pela Ligacao");
        porta.mensagens.clear();
        ASSERT_EQ(carregar(nome), Resultado_Jogo::Aberto) << ultima();
        EXPECT_EQ(Nome_Treinador, "Pela Ligacao");
        EXPECT_TRUE(porta.mensagens.empty()) << ultima();
        Fechar_Base_Dados();
        EXPECT_FALSE(fs::exists(pasta / "real" / "jogo.gv-wal"));
        EXPECT_EQ(teste::ler_bytes(caminho("ligacao.gv-wal")), velho);
        EXPECT_TRUE(fs::is_symlink(caminho("ligacao.gv")));
    }
    // Another copy's log beside the file the link leads to: refused by the
    // log's name, every file as it was.
    com_log("jogo.gv", "Da Copia");
    fs::rename(caminho("jogo.gv-wal"), pasta / "real" / "jogo.gv-wal");
    const auto antes = teste::pasta_inteira(pasta / "real");
    EXPECT_EQ(carregar("ligacao.gv"), Resultado_Jogo::Recusado);
    // Named with its folder: it is not the one beside the link.
    EXPECT_NE(ultima().find("O ficheiro \"" + (pasta / "real" / "jogo.gv-wal").string() +
                            "\" ao lado do jogo não pertence a este jogo"),
              std::string::npos)
        << ultima();
    EXPECT_TRUE(teste::pasta_inteira(pasta / "real") == antes);
    // A new game made through the link replaces the file it leads to, once
    // no other window holds it.
    fs::remove(pasta / "real" / "jogo.gv-wal");
    repor_estado();
    {
        const auto outra_janela = db::Lugar_Jogo::alcancar((pasta / "real" / "jogo.gv").string());
        outra_janela->segurar();
        porta.respostas.assign(1, Resposta::Sim);
        EXPECT_EQ(novo_jogo("ligacao.gv", escolhas()), Resultado_Jogo::Recusado);
        EXPECT_NE(ultima().find("O jogo \"ligacao.gv\" está aberto noutra janela"), std::string::npos) << ultima();
    }
    porta.respostas.assign(1, Resposta::Sim);
    ASSERT_EQ(novo_jogo("ligacao.gv", escolhas()), Resultado_Jogo::Aberto) << ultima();
    EXPECT_EQ(Ficheiro_Jogo, (pasta / "real" / "jogo.gv").string());
    Fechar_Base_Dados();
    EXPECT_TRUE(fs::is_symlink(caminho("ligacao.gv")));
    ASSERT_EQ(carregar("ligacao.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(Nome_Treinador, "Manuel Tester");
    Fechar_Base_Dados();
    for (const auto& f : fs::directory_iterator(pasta / "real")) {
        if (teste::escondido_pelo_sistema(f.path().filename().string())) continue;
        EXPECT_EQ(f.path().filename(), "jogo.gv") << "nothing is left beside it";
    }
    // Through a link to nothing, the game is made where the link leads.
    fs::create_symlink(pasta / "real" / "novo.gv", pasta / "para-nada.gv");
    ASSERT_EQ(novo_jogo("para-nada.gv", escolhas()), Resultado_Jogo::Aberto) << ultima();
    EXPECT_TRUE(fs::is_symlink(caminho("para-nada.gv")));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(pasta / "real" / "novo.gv")));
}

// A hold is on the file its name names, even when the name was given to
// another file between the open and the lock; a game given a key of its
// own is held through the file's replacement.
TEST_F(Caminhos, AHoldIsOnTheFileTheNameNamesThroughEveryReplacement) {
    armar_accao("bloqueio.aberto", [&] {
        fs::copy_file(caminho("inicio.gv"), caminho("outro.gv"));
        fs::rename(caminho("outro.gv"), caminho("jogo.gv"));
    });
    const auto segura = db::Lugar_Jogo::alcancar(caminho("jogo.gv"));
    segura->segurar();
    ASSERT_TRUE(segura->ficheiro().tomado());
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    EXPECT_NE(ultima().find("está aberto noutra janela"), std::string::npos) << ultima();
}

// Two windows make a new game of one name at once: the second is told, and
// touches nothing of the first's, which goes on to make it.
TEST_F(Caminhos, TwoNewGamesOfOneNameAtOnceMakeOneAndTellTheOther) {
    int pronto[2], seguir[2];
    ASSERT_EQ(::pipe(pronto), 0);
    ASSERT_EQ(::pipe(seguir), 0);
    auto esperar = [](int fd) {
        pollfd p{fd, POLLIN, 0};
        char c = 0;
        return ::poll(&p, 1, 20000) == 1 && ::read(fd, &c, 1) == 1;
    };
    const pid_t outra = fork();
    ASSERT_GE(outra, 0);
    if (outra == 0) {
        armar_accao("novo_jogo.semeado", [&] {
            if (::write(pronto[1], "x", 1) != 1 || !esperar(seguir[0])) _exit(4);
        });
        const bool feito = novo_jogo("novo.gv", escolhas()) == Resultado_Jogo::Aberto;
        Fechar_Base_Dados();
        _exit(feito ? 0 : 3);
    }
    ASSERT_TRUE(esperar(pronto[0]));
    const auto da_outra = teste::pasta_inteira(pasta);
    EXPECT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Recusado);
    for (const char* lingua : {"P", "I"}) {
        Lingua = lingua;
        EXPECT_EQ(novo_jogo("novo.gv", escolhas()), Resultado_Jogo::Recusado);
        EXPECT_NE(ultima().find(*lingua == 'P' ? "O jogo \"novo.gv\" está a ser criado noutra janela do Golvantario. "
                                                 "Espere que fique pronto nessa janela, ou escolha outro nome."
                                               : "The game \"novo.gv\" is being made in another window of Golvantario. "
                                                 "Wait for it there, or choose another name."),
                  std::string::npos)
            << ultima();
    }
    EXPECT_TRUE(teste::pasta_inteira(pasta) == da_outra) << "nothing of the other window's is touched";
    ASSERT_EQ(::write(seguir[1], "x", 1), 1);
    int estado = 0;
    ASSERT_EQ(waitpid(outra, &estado, 0), outra);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
    EXPECT_EQ(carregar("novo.gv"), Resultado_Jogo::Aberto);
    for (const char* s : {".a-criar", ".a-cifrar"}) EXPECT_FALSE(fs::exists(caminho(std::string("novo.gv") + s)));
}

// A kill while the close holds a hot journal, then one in the next load,
// leave no shared index beside the game; a new game's files left by a kill
// go at the next load, new game or start, unless a window still holds them.
TEST_F(Caminhos, WhatKilledLoadsAndNewGamesLeaveGoesOnceNoWindowHoldsIt) {
    diario_quente("Quente");
    morrer([&] {
        armar_morte("carregar.tomar");
        carregar();
    });
    // As a load of the file in the log's mode, killed, left beside it.
    if (!fs::exists(caminho("jogo.gv-shm"))) std::ofstream(caminho("jogo.gv-shm")) << std::string(32768, '\0');
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    EXPECT_EQ(Nome_Treinador, "Quente");
    Fechar_Base_Dados();
    EXPECT_FALSE(fs::exists(caminho("jogo.gv-shm")));

    const std::function<void()> seguintes[] = {
        [&] { ASSERT_EQ(carregar(), Resultado_Jogo::Aberto); },
        [&] {
            porta.respostas.assign(1, Resposta::Sim);
            ASSERT_EQ(novo_jogo("outro.gv", escolhas()), Resultado_Jogo::Aberto);
        },
        [&] { db::limpar_obras_orfas(Pasta_Programa); },
    };
    for (const auto& seguinte : seguintes)
        for (bool segura : {true, false}) {
            repor_estado();
            // As a making killed halfway leaves them: its hold, and what it built.
            std::ofstream(caminho("jogo.gv.a-criar")) << db::marca_de_obra(pasta.string());
            for (const char* s : {".a-cifrar", ".a-cifrar-journal"})
                std::ofstream(caminho(std::string("jogo.gv") + s)) << "meio feito";
            std::optional<db::Obra> outra_janela;
            if (segura) outra_janela.emplace(db::Lugar_Jogo::alcancar(caminho("jogo.gv")), 0);
            seguinte();
            Fechar_Base_Dados();
            for (const char* s : {".a-criar", ".a-cifrar", ".a-cifrar-journal"})
                EXPECT_EQ(fs::exists(caminho(std::string("jogo.gv") + s)), segura) << s;
        }
}

// A refusal names the file and says what is left: a game cut short, a disk
// error in a new game's export, a new game in a read-only folder.
TEST_F(Caminhos, ARefusalNamesTheFileAndSaysWhatIsLeft) {
    const auto inteiro = teste::ler_bytes(caminho("jogo.gv"));
    for (std::uintmax_t tamanho : {inteiro.size() - 4096, inteiro.size() - 100, std::size_t(512)}) {
        fs::resize_file(caminho("jogo.gv"), tamanho);
        const auto cortado = teste::ler_bytes(caminho("jogo.gv"));
        EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
        EXPECT_EQ(ultima(), "Não foi possível abrir o jogo.\nO ficheiro \"jogo.gv\" está danificado: está cortado "
                            "ou estragado, e não pode ser lido.\nO ficheiro do jogo não foi alterado.");
        EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), cortado);
        recomecar();
    }
    // The export commits, then deletes its journal: that delete fails.
    Disco_Avariado::armar(teste::Operacao::Remocao, 3, false);
    porta.respostas.assign(1, Resposta::Sim);
    EXPECT_EQ(novo_jogo("jogo.gv", escolhas()), Resultado_Jogo::Recusado);
    EXPECT_EQ(Disco_Avariado::falhadas(), 1);
    EXPECT_EQ(ultima(), "Não foi possível criar o novo jogo.\nHouve um erro de leitura ou escrita no disco.\nNenhum "
                        "ficheiro de jogo foi alterado.");
    Disco_Avariado::limpar();
    // A new game there, over a game or not: refused before any question.
    teste::Montagem disco(pasta / "disco", 1024);
    if (disco.montada()) std::ofstream(pasta / "disco" / "velho.gv") << "um jogo";
    if (!disco.montada() || !disco.so_leitura()) GTEST_SKIP() << "no file system of the test's own here";
    for (const char* lingua : {"P", "I"}) {
        Lingua = lingua;
        porta.mensagens.clear();
        EXPECT_EQ(novo_jogo(*lingua == 'P' ? "disco/novo.gv" : "disco/velho.gv", escolhas()), Resultado_Jogo::Recusado);
        EXPECT_EQ(porta.mensagens.size(), 1u) << "no question";
        const std::string p = (pasta / "disco").string();
        EXPECT_NE(ultima().find(*lingua == 'P' ? "A pasta \"" + p + "\" só pode ser lida" : "The folder \"" + p +
                                                                                              "\" is read-only"),
                  std::string::npos)
            << ultima();
    }
}

} // namespace
