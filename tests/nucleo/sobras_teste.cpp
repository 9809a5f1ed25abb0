// What a killed game leaves beside its file, and what other copies of it
// leave: the game's own log or journal is always taken, after any sequence
// of kills; another copy's never; a side file that does not fit is refused
// by name with every file as it was; a game open in another program is in
// use; and no private copy of a load outlives it.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "data/consultas.h"
#include "desk/proximo_jogo.h"
#include "jogo_apoio.h"
#include "montagem.h"
#include "platform/falhas.h"

#include <sqlite3.h>

using namespace gv;
namespace fs = std::filesystem;

namespace {

class Sobras : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        temporaria = pasta / "tmp";
        fs::create_directories(temporaria);
        ::setenv("TMPDIR", temporaria.c_str(), 1);
        novo_jogo_pt();
        repor_estado();
        fs::copy_file(caminho("jogo.gv"), caminho("inicio.gv"));
    }
    void TearDown() override {
        desarmar_falhas();
        ::unsetenv("TMPDIR");
        Com_Mestra::TearDown();
    }
    // Back to the game as it was made, nothing beside it.
    void recomecar() {
        repor_estado();
        remover_com_diario(caminho("jogo.gv"));
        fs::copy_file(caminho("inicio.gv"), caminho("jogo.gv"));
    }
    Resultado_Jogo carregar(const std::string& nome = "jogo.gv", const char* lingua = "P") {
        repor_estado();
        Lingua = lingua;
        porta.respostas.assign(200, Resposta::Nao);   // every offer turned down
        porta.escolher(Ficheiro_Escolhido{caminho(nome), nome});
        return Carregar_Jogo();
    }
    // f runs in a child process, which must die at the point armed in it.
    void morrer(const std::function<void()>& f) {
        const pid_t filho = fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            f();
            _exit(0);
        }
        int estado = 0;
        ASSERT_EQ(waitpid(filho, &estado, 0), filho);
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << "the point was never reached";
    }
    // The game loaded and a matchday played (or not), then the manager
    // renamed, the process dying at `ponto` after that commit.
    void jogar_e_morrer(const std::string& jogo, const std::string& nome, const char* ponto, bool jogar = true) {
        morrer([&] {
            if (carregar(jogo) != Resultado_Jogo::Aberto) _exit(3);
            if (jogar && Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
            armar_morte(ponto);
            Base_Dados->Execute("UPDATE principal SET nome = ?", {nome});
            if (std::string(ponto) == "base.fechar") Fechar_Base_Dados();
        });
    }
    // The game opens whole, at matchday `jornada`, its manager `nome`.
    void abre_como(const std::string& nome, int jornada) {
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto) << (porta.mensagens.empty() ? "" : porta.mensagens.back().texto);
        EXPECT_EQ(Nome_Treinador, nome);
        EXPECT_EQ(Jornada_Actual, jornada);
        EXPECT_EQ(Base_Dados->valor("PRAGMA integrity_check").texto(), "ok");
        EXPECT_FALSE(db::Database::log_com_commits(caminho("jogo.gv"))) << "the file alone holds the game";
        EXPECT_TRUE(sem_copias()) << "no private copy is left";
    }
    // Refused in both languages with these words, every file as it was.
    void recusado(const std::string& jogo, const std::string& pt, const std::string& en) {
        const auto antes = teste::pasta_inteira(pasta);
        porta.mensagens.clear();
        for (const char* lingua : {"P", "I"}) {
            EXPECT_EQ(carregar(jogo, lingua), Resultado_Jogo::Recusado);
            EXPECT_TRUE(teste::pasta_inteira(pasta) == antes) << "every file is as it was";
            EXPECT_TRUE(sem_copias());
        }
        ASSERT_EQ(porta.mensagens.size(), 2u);
        EXPECT_NE(porta.mensagens[0].texto.find(pt), std::string::npos) << porta.mensagens[0].texto;
        EXPECT_NE(porta.mensagens[1].texto.find(en), std::string::npos) << porta.mensagens[1].texto;
    }
    // No private copy's folder in the temporary folder, nor in the game's.
    bool sem_copias() const {
        for (const fs::path& p : {temporaria, pasta})
            for (const auto& f : fs::directory_iterator(p))
                if (f.path().filename().string().rfind("gv-copia-", 0) == 0) return false;
        return true;
    }
    fs::path temporaria;
};

// Killed twice in a row at the same point, the second time at the first
// commit after the game's own load: the third load opens the game's own
// files, with every commit made.
TEST_F(Sobras, TwoKillsInARowAtAnyPointLeaveFilesTheGamesOwnLoadOpens) {
    for (const char* ponto : {"base.pousar", "base.limpar_log", "base.fechar"}) {
        SCOPED_TRACE(ponto);
        recomecar();
        jogar_e_morrer("jogo.gv", "Primeiro", ponto);
        jogar_e_morrer("jogo.gv", "Segundo", ponto, false);
        abre_como("Segundo", 2);
    }
    // Killed in the middle of loading, twice: while copying privately,
    // while taking the log in, before and after compacting.
    for (const char* ponto : {"carregar.copia", "carregar.tomar", "compactar", "base.compactada"}) {
        SCOPED_TRACE(ponto);
        recomecar();
        jogar_e_morrer("jogo.gv", "Primeiro", "base.pousar");
        for (int vez = 0; vez < 2; ++vez)
            morrer([&] {
                armar_morte(ponto);
                carregar();
            });
        abre_como("Primeiro", 2);
    }
}

// Two copies of one game played apart, each killed after a commit at the
// same point: one's log beside the other is another history.
TEST_F(Sobras, ALogOfACopyPlayedApartIsRefusedAndEachCopyTakesItsOwn) {
    fs::copy_file(caminho("jogo.gv"), caminho("copia.gv"));
    jogar_e_morrer("jogo.gv", "Do Jogo", "base.pousar");
    jogar_e_morrer("copia.gv", "Da Copia", "base.pousar");
    fs::rename(caminho("copia.gv-wal"), caminho("log-da-copia"));
    fs::copy_file(caminho("jogo.gv-wal"), caminho("copia.gv-wal"));
    recusado("copia.gv", "O ficheiro \"copia.gv-wal\" ao lado do jogo não pertence a este jogo.",
             "The file \"copia.gv-wal\" beside the game does not belong to it.");
    fs::rename(caminho("log-da-copia"), caminho("copia.gv-wal"));
    ASSERT_EQ(carregar("copia.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(Nome_Treinador, "Da Copia");
    abre_como("Do Jogo", 2);
}

// A first page cut by a power cut while its log still holds it: the log
// mends it. Damage no log mends is the game file's, not the log's.
TEST_F(Sobras, ATornFirstPageIsMendedByItsLogAndDamageNoLogMendsIsTheFiles) {
    auto rasgar = [&] {
        std::fstream f(caminho("jogo.gv"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(2048);
        const std::string lixo(512, '\xA5');
        f.write(lixo.data(), static_cast<std::streamsize>(lixo.size()));
    };
    jogar_e_morrer("jogo.gv", "Mendado", "base.pousar");
    EXPECT_TRUE(db::Database::log_com_commits(caminho("jogo.gv")));
    rasgar();
    abre_como("Mendado", 2);
    // Killed at rest: the log beside the file holds nothing.
    repor_estado();
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        ::kill(::getpid(), SIGKILL);
    });
    ASSERT_TRUE(fs::exists(caminho("jogo.gv-wal")));
    EXPECT_FALSE(db::Database::log_com_commits(caminho("jogo.gv"))) << "a close would not ask to keep it";
    rasgar();
    recusado("jogo.gv", "O ficheiro escolhido não é um jogo do Golvantario",
             "The chosen file is not a Golvantario game");
    EXPECT_EQ(porta.mensagens[0].texto.find("-wal"), std::string::npos);
}

// The game's own log, damaged: frames the engine cannot read are dropped
// and the player told the round is lost; a whole log whose commit breaks the
// game is refused as damaged, and the game opens without it.
TEST_F(Sobras, TheGamesOwnDamagedLogIsNamedAsDamaged) {
    auto morrer_na_ronda = [&] {
        recomecar();
        morrer([&] {
            if (carregar() != Resultado_Jogo::Aberto) _exit(3);
            armar_morte("base.pousar");
            Jogar_Ronda_Campeonato();
        });
    };
    for (const char* lingua : {"P", "I"}) {
        morrer_na_ronda();
        {
            std::fstream f(caminho("jogo.gv-wal"), std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(32 + (24 + 4096) + 24 + 100);   // the second frame's page
            f.put('\x5A');
        }
        porta.mensagens.clear();
        ASSERT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Aberto);
        EXPECT_EQ(Jornada_Actual, 1);
        ASSERT_FALSE(porta.mensagens.empty());
        EXPECT_EQ(porta.mensagens.back().texto,
                  *lingua == 'P' ? "O ficheiro \"jogo.gv-wal\" ao lado do jogo está danificado e não pôde ser usado. O "
                                   "jogo abre na jornada 1; a última jornada que ele guardava perdeu-se."
                                 : "The file \"jogo.gv-wal\" beside the game is damaged and could not be used. The "
                                   "game opens at matchday 1; the last round it held is lost.");
    }
    // A commit written under another order of names breaks the index.
    recomecar();
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        Base_Dados->executar_script("CREATE TABLE t (n TEXT COLLATE NOME); CREATE INDEX ix_t ON t (n);");
        sqlite3_create_collation_v2(Base_Dados->handle(), "NOME", SQLITE_UTF8, nullptr,
                                    [](void*, int na, const void* a, int nb, const void* b) {
                                        return -db::comparar_nomes({static_cast<const char*>(a), std::size_t(na)},
                                                                   {static_cast<const char*>(b), std::size_t(nb)});
                                    },
                                    nullptr);
        armar_morte("base.pousar");
        db::Transaccao t(*Base_Dados);
        for (const char* n : {"Ana", "Bela", "Carla", "Dora", "Eva", "Fabia", "Gina"})
            Base_Dados->Execute("INSERT INTO t (n) VALUES (?)", {n});
        t.commit();
    });
    recusado("jogo.gv", "O ficheiro \"jogo.gv-wal\" ao lado do jogo está danificado. Mova-o para outra pasta",
             "The file \"jogo.gv-wal\" beside the game is damaged. Move it to another folder");
    fs::rename(caminho("jogo.gv-wal"), caminho("posto-de-parte"));
    abre_como("Manuel Tester", 1);
    EXPECT_EQ(contar("SELECT count(*) FROM t"), 0);
}

// Games made before each game had its own salt kept the master database's,
// and so shared one key: each gets its own at its first load.
TEST_F(Sobras, GamesThatShareTheMastersSaltGetTheirOwnAtTheirFirstLoad) {
    const std::string sal = teste::ler_bytes(GV_BASE_MESTRA).substr(0, 16);
    for (const char* nome : {"a.gv", "b.gv"}) {
        fs::copy_file(GV_BASE_MESTRA, caminho(nome));
        auto d = db::Database::abrir(caminho(nome), Ligacao_BD);
        for (const auto& t : d->tabelas()) d->executar_script("DROP TABLE \"" + t + "\";");
        const std::string pagina = d->valor("PRAGMA cipher_default_page_size").texto();
        d->executar_script("PRAGMA cipher_default_page_size = " + std::to_string(db::Database::Pagina_Nova) + ";");
        d->Execute("ATTACH DATABASE ? AS jogo KEY ?", {caminho("inicio.gv"), db::senha_da_ligacao(Ligacao_BD)});
        auto rs = d->OpenRecordset("SELECT name, sql FROM jogo.sqlite_master WHERE type = 'table'");
        for (; !rs.Eof(); rs.MoveNext()) {
            d->executar_script(rs["sql"].texto() + ";");
            d->executar_script("INSERT INTO main.\"" + rs["name"].texto() + "\" SELECT * FROM jogo.\"" +
                               rs["name"].texto() + "\";");
        }
        d->executar_script("PRAGMA application_id = 0; PRAGMA user_version = 0; DETACH DATABASE jogo; "
                           "PRAGMA cipher_default_page_size = " + pagina + ";");
        d.reset();
        ASSERT_EQ(teste::ler_bytes(caminho(nome)).substr(0, 16), sal);
    }
    ASSERT_EQ(carregar("a.gv"), Resultado_Jogo::Aberto);
    ASSERT_EQ(carregar("b.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    repor_estado();
    const std::string a = teste::ler_bytes(caminho("a.gv")).substr(0, 16), b = teste::ler_bytes(caminho("b.gv")).substr(0, 16);
    EXPECT_NE(a, sal);
    EXPECT_NE(b, sal);
    EXPECT_NE(a, b);
    ASSERT_EQ(carregar("b.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(Jornada_Actual, 2);
    EXPECT_EQ(teste::ler_bytes(caminho("b.gv")).substr(0, 16), b) << "once";
}

// A journal of another page size, or of random bytes, never reaches the
// engine; the game's own journal is played back.
TEST_F(Sobras, AJournalThatDoesNotFitIsRefusedByNameAndTheGamesOwnIsTaken) {
    morrer([&] {
        auto d = db::Database::abrir(caminho("jogo.gv"), LIGACAO_JOGO);
        d->Execute("PRAGMA cache_size = 2");
        d->BeginTrans();
        for (const auto& t : d->tabelas()) d->Execute("DELETE FROM \"" + t + "\"");
        ::kill(::getpid(), SIGKILL);
    });
    const std::string diario = caminho("jogo.gv-journal"), proprio = teste::ler_bytes(diario);
    ASSERT_GT(proprio.size(), 4096u);
    std::string pequenas = proprio;
    pequenas[24] = 0, pequenas[25] = 0, pequenas[26] = 4, pequenas[27] = 0;   // 1024-byte pages
    std::string ao_acaso(8192, '\0');
    std::mt19937 g(7);
    for (char& c : ao_acaso) c = static_cast<char>(g() | 1);
    for (const std::string* alheio : {&pequenas, &ao_acaso}) {
        std::ofstream(diario, std::ios::binary | std::ios::trunc) << *alheio;
        recusado("jogo.gv", "O ficheiro \"jogo.gv-journal\" ao lado do jogo não pertence a este jogo.",
                 "The file \"jogo.gv-journal\" beside the game does not belong to it.");
    }
    std::ofstream(diario, std::ios::binary | std::ios::trunc) << proprio;
    abre_como("Manuel Tester", 1);
    EXPECT_GT(contar("SELECT count(*) FROM jogadores"), 0);
}

// While another program plays the game, a load is told it is in use, every
// time, and copies nothing.
TEST_F(Sobras, AGameOpenInAnotherProgramIsInUseAndNothingIsCopied) {
    int canal[2];
    ASSERT_EQ(::pipe(canal), 0);
    const pid_t outro = fork();
    ASSERT_GE(outro, 0);
    if (outro == 0) {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        ::close(canal[0]);
        if (::write(canal[1], "x", 1) != 1) _exit(3);
        for (int i = 0; i < 200; ++i) Base_Dados->Execute("UPDATE principal SET nome = ?", {std::to_string(i)});
        for (;;) ::pause();
    }
    ::close(canal[1]);
    char c = 0;
    ASSERT_EQ(::read(canal[0], &c, 1), 1);
    for (int vez = 0; vez < 5; ++vez) {
        SCOPED_TRACE(vez);
        porta.mensagens.clear();
        for (const char* lingua : {"P", "I"}) {
            EXPECT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Recusado);
            EXPECT_TRUE(sem_copias());
        }
        ASSERT_EQ(porta.mensagens.size(), 2u);
        EXPECT_NE(porta.mensagens[0].texto.find("O ficheiro está a ser usado por outro programa."), std::string::npos)
            << porta.mensagens[0].texto;
        EXPECT_NE(porta.mensagens[1].texto.find("The file is in use by another program."), std::string::npos)
            << porta.mensagens[1].texto;
    }
    ::kill(outro, SIGKILL);
    ::waitpid(outro, nullptr, 0);
    ::close(canal[0]);
}

// A private copy's folder is named by the temporary folder's own trouble,
// and never made in the working folder.
TEST_F(Sobras, ATemporaryFolderThatCannotTakeTheCopyIsNamed) {
    jogar_e_morrer("jogo.gv", "Primeiro", "base.pousar");
    const fs::path nenhuma = pasta / "nao-existe";
    ::setenv("TMPDIR", nenhuma.c_str(), 1);
    const fs::path antes = fs::current_path();
    fs::current_path(pasta);
    recusado("jogo.gv", "A pasta temporária \"" + nenhuma.string() + "\" não existe.",
             "The temporary folder \"" + nenhuma.string() + "\" does not exist.");
    fs::current_path(antes);
    teste::Montagem disco(pasta / "disco", 256);
    if (!disco.montada()) GTEST_SKIP() << "no file system of the test's own here";
    const std::string d = (pasta / "disco").string();
    ::setenv("TMPDIR", d.c_str(), 1);
    ASSERT_TRUE(disco.so_leitura());
    const auto pt = "A pasta temporária \"" + d + "\" só pode ser lida.", en = "The temporary folder \"" + d + "\" is read-only.";
    temporaria = pasta / "disco";
    recusado("jogo.gv", pt, en);
    teste::Montagem cheio(pasta / "cheio", 256);
    ASSERT_TRUE(cheio.montada());
    cheio.encher();
    temporaria = pasta / "cheio";
    ::setenv("TMPDIR", temporaria.c_str(), 1);
    recusado("jogo.gv", "O disco da pasta temporária \"" + temporaria.string() + "\" está cheio.",
             "The disk of the temporary folder \"" + temporaria.string() + "\" is full.");
}

} // namespace
