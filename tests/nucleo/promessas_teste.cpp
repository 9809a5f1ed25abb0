// What the save path promises, each case on its own: a commit the player
// was told failed is never brought back by a kill, nor takes the commit
// before it with it; a refused game keeps every file as it was; a close
// warns of its log only while the log is there; the private folders'
// cleaner takes only orphans of its own.

#include <sys/stat.h>

#include "data/consultas.h"
#include "disco_avariado.h"
#include "mortes.h"
#include "platform/db/em_jogo.h"
#include "platform/db/obras.h"
#include "platform/db/pasta_temporaria.h"

using namespace gv;
using teste::Disco_Avariado;
using teste::Operacao;
using teste::Papel;
namespace fs = std::filesystem;

namespace {

class Promessas : public teste::Com_Mortes {
protected:
    void TearDown() override {
        Disco_Avariado::limpar();
        Com_Mortes::TearDown();
    }
    // The manager renamed; whether the player was told it was saved.
    static bool renomear(const char* nome) {
        try {
            Base_Dados->Execute("UPDATE principal SET nome = ?", {nome});
            return true;
        } catch (const db::Falha_BD&) {
            return false;
        }
    }
};

// A commit that fails, then a kill before any other: the next load holds
// the commit before it, never the failed one. The commit before may still
// be in the log when its move into the file failed.
TEST_F(Promessas, ACommitToldFailedIsGoneAfterAKillAndTheOneBeforeItStays) {
    const struct {
        const char* o_que;
        bool checkpoint_falha;   // the move into the file after "Antes" fails
        Operacao op;
        int n;                   // of the log's writes or syncs in the failed commit
    } casos[] = {
        // The log starts over: its new header is synced, then the commit.
        {"the sync of the log's header", false, Operacao::Sincronia, 1},
        {"the sync of the commit", false, Operacao::Sincronia, 2},
        {"a failed checkpoint, then the sync of the commit", true, Operacao::Sincronia, 1},
        {"a failed checkpoint, then the log's first write", true, Operacao::Escrita, 1},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.o_que);
        recomecar();
        morrer([&] {
            if (carregar() != Resultado_Jogo::Aberto) _exit(3);
            if (c.checkpoint_falha) Disco_Avariado::armar(Operacao::Escrita, 1, false, Papel::Base);
            if (!renomear("Antes")) _exit(4);
            Disco_Avariado::armar(c.op, c.n, false, Papel::Log);
            if (renomear("Falhou") || Disco_Avariado::falhadas() != 1) _exit(5);
            ::kill(::getpid(), SIGKILL);
        });
        porta.mensagens.clear();
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
        EXPECT_EQ(Nome_Treinador, "Antes");
        EXPECT_TRUE(porta.mensagens.empty()) << porta.mensagens.front().texto;
        Fechar_Base_Dados();
    }
}

// A game the load refuses is not written, nor what is beside it.
TEST_F(Promessas, ARefusedGameWithItsLogBesideItKeepsEveryFileAsItWas) {
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        armar_morte("em_jogo.commit");
        Base_Dados->Execute("UPDATE versao SET rev = rev - 1");
    });
    ASSERT_TRUE(fs::exists(caminho("jogo.gv-wal")));
    const auto antes = teste::pasta_inteira(pasta);
    EXPECT_EQ(carregar(), Resultado_Jogo::Recusado);
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_NE(porta.mensagens.back().texto.find("Versões dos Jogos Incompativeis."), std::string::npos);
    EXPECT_TRUE(teste::pasta_inteira(pasta) == antes);
}

// The log's delete fails once as the game closes: the engine's own close
// still moves it in and removes it, and the player is not told to keep it.
TEST_F(Promessas, TheCloseWarnsOfItsLogOnlyWhileTheLogIsThere) {
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    ASSERT_TRUE(renomear("Fechado"));
    porta.mensagens.clear();
    Disco_Avariado::armar(Operacao::Remocao, 1, false, Papel::Log);
    Fechar_Base_Dados();
    ASSERT_EQ(Disco_Avariado::falhadas(), 1);
    EXPECT_EQ(fs::exists(caminho("jogo.gv-wal")), !porta.mensagens.empty());
    EXPECT_FALSE(fs::exists(caminho("jogo.gv-wal")));
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    EXPECT_EQ(Nome_Treinador, "Fechado");
}

// Of the temporary folder the cleaner takes only its own folders whose load
// is gone: not another program's, not one being made, not a link.
TEST_F(Promessas, TheCleanerTakesOnlyItsOwnOrphans) {
    SALTAR_SEM_LIGACOES();
    auto pasta_com = [&](const std::string& nome, bool dono, bool velha) {
        const fs::path p = temporaria / nome;
        fs::create_directories(p);
        std::ofstream(p / "x") << "x";
        if (dono) std::ofstream(p / ".dono") << "";
        // Both times given: a user-space file system may not leave one as it is.
        if (velha) {
            const struct timespec ha[2] = {{::time(nullptr) - 300, 0}, {::time(nullptr) - 300, 0}};
            ::utimensat(AT_FDCWD, p.c_str(), ha, 0);
        }
        return p;
    };
    const fs::path alvo = pasta_com("alvo", false, true);
    fs::create_directory_symlink(alvo, temporaria / "gv-copia-ligacao");
    const struct {
        fs::path pasta;
        bool fica;
    } casos[] = {
        {pasta_com("outra-coisa", false, true), true},
        {pasta_com("gv-copia-fresca", false, false), true},
        {pasta_com("gv-copia-velha", false, true), false},
        {pasta_com("gv-copia-morta", true, false), false},
        {temporaria / "gv-copia-ligacao", true},
        {alvo, true},
    };
    // A load's folder, its owner's file locked, seen by a cleaner as it is made.
    std::optional<db::Copia_Privada> viva;
    armar_accao("copia_privada.dono", [] { db::limpar_copias_orfas(); });
    viva.emplace();
    db::limpar_copias_orfas();
    for (const auto& c : casos) EXPECT_EQ(fs::exists(fs::symlink_status(c.pasta)), c.fica) << c.pasta;
    const int jogo = ::open(caminho("jogo.gv").c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_NO_THROW(viva->copiar(jogo, "jogo.gv", "jogo.gv")) << "the live load's folder is there";
    ::close(jogo);
}

// The makings' cleaner takes what makings killed halfway left, whatever
// the game's name, known by their hold: never a player's file that only
// ends as a making's does, and nothing through a link.
TEST_F(Promessas, TheMakingsCleanerTakesOnlyWhatKilledMakingsLeftAndNothingThroughALink) {
    SALTAR_SEM_LIGACOES();
    morrer([&] {
        armar_morte("novo_jogo.semeado");
        novo_jogo("x.GV", escolhas());
    });
    fs::create_hard_link(caminho("jogo.gv"), caminho("y.sav"));
    morrer([&] {
        armar_morte("lugar.substituir");
        carregar("y.sav");
    });
    const char* feitos[] = {"x.GV.a-criar", "x.GV.a-semear", "x.GV.a-cifrar", "y.sav.a-criar", "y.sav.a-cifrar"};
    for (const char* f : feitos) ASSERT_TRUE(fs::exists(caminho(f))) << f;
    // A note, and a game saved under a making's name.
    std::ofstream(caminho("nota.a-criar")) << "uma nota";
    fs::copy_file(caminho("inicio.gv"), caminho("guardado.a-cifrar"));
    fs::copy_file(caminho("inicio.gv"), caminho("guardado.a-criar"));
    const auto jogo = teste::ler_bytes(caminho("inicio.gv"));
    std::ofstream(temporaria / "alvo") << "alheio";
    for (const char* l : {"l.gv.a-criar", "m.gv.a-cifrar"}) fs::create_symlink(temporaria / "alvo", caminho(l));
    db::limpar_obras_orfas(Pasta_Programa);
    for (const char* f : feitos) EXPECT_FALSE(fs::exists(caminho(f))) << f;
    EXPECT_EQ(teste::ler_bytes(caminho("nota.a-criar")), "uma nota");
    for (const char* g : {"guardado.a-cifrar", "guardado.a-criar"}) EXPECT_EQ(teste::ler_bytes(caminho(g)), jogo) << g;
    for (const char* l : {"l.gv.a-criar", "m.gv.a-cifrar"}) EXPECT_TRUE(fs::is_symlink(caminho(l))) << l;
    EXPECT_EQ(teste::ler_bytes(temporaria / "alvo"), "alheio");
}

// A player's files that only end as a making's do, even empty ones, are no
// making's: a load or a new game in their folder leaves them, and a new
// game that would hold one as its making's is refused, the file as it was.
// What a killed making left still goes at the next load.
TEST_F(Promessas, OnlyAMarkedHoldIsAMakingsAndAKilledMakingsFilesStillGo) {
    const std::pair<const char*, const char*> ideias[] = {
        {"ideias.a-criar", ""}, {"ideias.a-cifrar", ""}, {"ideias.a-semear", "notas"}, {"plano.a-criar", "um plano"}};
    for (const auto& [nome, texto] : ideias) std::ofstream(caminho(nome)) << texto;
    const auto ficaram = [&] {
        for (const auto& [nome, texto] : ideias)
            EXPECT_TRUE(fs::exists(caminho(nome)) && teste::ler_bytes(caminho(nome)) == texto) << nome;
    };
    // Killed as soon as a making has its hold: the hold has its mark.
    morrer([&] {
        armar_morte("obra.tomada");
        novo_jogo("y.gv", escolhas());
    });
    ASSERT_TRUE(fs::exists(caminho("y.gv.a-criar")));
    morrer([&] {
        armar_morte("novo_jogo.semeado");
        novo_jogo("x.gv", escolhas());
    });
    for (const char* f : {"x.gv.a-criar", "x.gv.a-semear"}) ASSERT_TRUE(fs::exists(caminho(f))) << f;
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    Fechar_Base_Dados();
    for (const char* f : {"x.gv.a-criar", "x.gv.a-semear", "y.gv.a-criar"}) EXPECT_FALSE(fs::exists(caminho(f))) << f;
    ficaram();
    ASSERT_EQ(novo_jogo("outro.gv", escolhas()), Resultado_Jogo::Aberto);
    Fechar_Base_Dados();
    ficaram();
    EXPECT_EQ(novo_jogo("plano", escolhas()), Resultado_Jogo::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto,
              "Não foi possível criar o novo jogo.\nO ficheiro \"plano.a-criar\" ao lado do jogo não pertence a "
              "este jogo. Mova-o para outra pasta e abra o jogo de novo.\nNenhum ficheiro de jogo foi alterado.");
    EXPECT_FALSE(fs::exists(caminho("plano")));
    ficaram();
}

// A load commits only to enter play when every index is there, and its
// last open holds the file alone from the first read: no shared index is
// made beside it, even with its log there to take.
TEST_F(Promessas, ALoadCommitsOnlyToEnterPlayAndMakesNoSharedIndex) {
    const auto marca = db::marca_lida(*db::Database::abrir(caminho("jogo.gv"), Ligacao_BD, db::Modo::So_Leitura));
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    EXPECT_EQ(db::marca_lida(*Base_Dados).anterior, marca.marca);
    Fechar_Base_Dados();
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        armar_morte("em_jogo.commit");
        renomear("Depois");
    });
    ASSERT_TRUE(fs::exists(caminho("jogo.gv-wal")));
    bool partilhado = true;
    armar_accao("carregar.tomar", [&] { partilhado = fs::exists(caminho("jogo.gv-shm")); });
    ASSERT_EQ(carregar(), Resultado_Jogo::Aberto);
    EXPECT_EQ(Nome_Treinador, "Depois");
    EXPECT_FALSE(partilhado);
}

} // namespace
