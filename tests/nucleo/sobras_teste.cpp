// What a killed game leaves beside its file, and what other copies of it
// leave: the game's own log or journal is always taken, after any sequence
// of kills; another copy's never; a side file that does not fit, or is no
// file, is refused by name with every file as it was; the game's own
// damaged one is called damaged; a game open in another window is named;
// and no private copy of a load outlives it.

#include <sys/stat.h>

#include <fstream>
#include <random>
#include <thread>

#include "data/consultas.h"
#include "desk/proximo_jogo.h"
#include "disco_avariado.h"
#include "jogo_apoio.h"
#include "montagem.h"
#include "mortes.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"
#include "platform/db/abrir_jogo.h"
#include "platform/db/chave.h"
#include "platform/db/em_jogo.h"
#include "platform/db/formato_diario.h"
#include "platform/db/formato_log.h"
#include "platform/db/pagina_cifrada.h"
#include "platform/db/pasta_temporaria.h"
#include "platform/falhas.h"

#include <sqlite3.h>

using namespace gv;
namespace fs = std::filesystem;

namespace {

class Sobras : public teste::Com_Mortes {
protected:
    // The game loaded and a matchday played (or not), then the manager
    // renamed, the process dying at `ponto` after that commit.
    void jogar_e_morrer(const std::string& jogo, const std::string& nome, const char* ponto, bool jogar = true) {
        morrer([&] {
            if (carregar(jogo) != Resultado_Jogo::Aberto) _exit(3);
            if (jogar && Jogar_Proximo_Jogo() != Resultado_Ronda::Jogada) _exit(3);
            armar_morte(ponto);
            Base_Dados->Execute("UPDATE principal SET nome = ?", {nome});
            if (std::string(ponto) == "em_jogo.fechar") Fechar_Base_Dados();
        });
    }
    // The game opens whole, at matchday `jornada`, its manager `nome`.
    void abre_como(const std::string& nome, int jornada) {
        ASSERT_EQ(carregar(), Resultado_Jogo::Aberto) << (porta.mensagens.empty() ? "" : porta.mensagens.back().texto);
        EXPECT_EQ(Nome_Treinador, nome);
        EXPECT_EQ(Jornada_Actual, jornada);
        EXPECT_EQ(Base_Dados->valor("PRAGMA integrity_check").texto(), "ok");
        EXPECT_FALSE(db::log_com_commits(caminho("jogo.gv"))) << "the file alone holds the game";
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
    // `origem` as a game made before each game had a salt of its own and
    // marks: the master database's salt, and none.
    void de_outro_tempo(const std::string& nome, const std::string& origem) {
        fs::copy_file(GV_BASE_MESTRA, caminho(nome));
        auto d = db::Database::abrir(caminho(nome), Ligacao_BD);
        for (const auto& t : d->tabelas()) d->executar_script("DROP TABLE \"" + t + "\";");
        const std::string pagina = d->valor("PRAGMA cipher_default_page_size").texto();
        d->executar_script("PRAGMA cipher_default_page_size = " + std::to_string(db::Database::Pagina_Nova) + ";");
        d->Execute("ATTACH DATABASE ? AS jogo KEY ?", {caminho(origem), db::senha_da_ligacao(Ligacao_BD)});
        auto rs = d->OpenRecordset("SELECT name, sql FROM jogo.sqlite_master WHERE type = 'table'");
        for (; !rs.Eof(); rs.MoveNext()) {
            d->executar_script(rs["sql"].texto() + ";");
            d->executar_script("INSERT INTO main.\"" + rs["name"].texto() + "\" SELECT * FROM jogo.\"" +
                               rs["name"].texto() + "\";");
        }
        d->executar_script("PRAGMA application_id = 0; PRAGMA user_version = 0; DETACH DATABASE jogo; "
                           "PRAGMA cipher_default_page_size = " + pagina + ";");
    }
    // A hot journal beside the game, its transaction's pages partly written
    // into the file when the process died: every table emptied, or the
    // statement given.
    void diario_quente(const std::string& nome, const std::string& sql = {}) {
        morrer([&] {
            auto d = db::Database::abrir(caminho(nome), LIGACAO_JOGO);
            d->Execute("PRAGMA cache_size = 2");
            d->BeginTrans();
            if (!sql.empty()) d->Execute(sql);
            for (const auto& t : sql.empty() ? d->tabelas() : std::vector<std::string>{})
                d->Execute("DELETE FROM \"" + t + "\"");
            ::kill(::getpid(), SIGKILL);
        });
    }
    // No private copy's folder in the temporary folder, nor in the game's.
    bool sem_copias() const {
        for (const fs::path& p : {temporaria, pasta})
            for (const auto& f : fs::directory_iterator(p))
                if (f.path().filename().string().rfind("gv-copia-", 0) == 0) return false;
        return true;
    }
};

// Killed twice in a row at the same point, the second time at the first
// commit after the game's own load: the third load opens the game's own
// files, with every commit made.
TEST_F(Sobras, TwoKillsInARowAtAnyPointLeaveFilesTheGamesOwnLoadOpens) {
    for (const char* ponto : {"em_jogo.commit", "em_jogo.limpar_log", "em_jogo.fechar"}) {
        SCOPED_TRACE(ponto);
        recomecar();
        jogar_e_morrer("jogo.gv", "Primeiro", ponto);
        jogar_e_morrer("jogo.gv", "Segundo", ponto, false);
        abre_como("Segundo", 2);
    }
    // Killed in the middle of loading, twice: while copying privately,
    // while taking the log in, before and after compacting, right after the
    // mark entering play commits.
    for (const char* ponto : {"carregar.copia", "carregar.tomar", "compactar", "em_jogo.compactada", "em_jogo.commit"}) {
        SCOPED_TRACE(ponto);
        recomecar();
        jogar_e_morrer("jogo.gv", "Primeiro", "em_jogo.commit");
        for (int vez = 0; vez < 2; ++vez)
            morrer([&] {
                armar_morte(ponto);
                carregar();
            });
        abre_como("Primeiro", 2);
    }
    // What a load killed while writing the game anew left.
    Fechar_Base_Dados();
    SALTAR_SEM_LIGACOES();
    fs::create_hard_link(caminho("jogo.gv"), caminho("outro.gv"));
    morrer([&] {
        armar_morte("lugar.substituir");
        carregar();
    });
    ASSERT_TRUE(fs::exists(caminho("jogo.gv.a-cifrar")));
    fs::remove(caminho("outro.gv"));
    abre_como("Primeiro", 2);
    for (const char* s : {".a-criar", ".a-cifrar", ".a-cifrar-journal"})
        EXPECT_FALSE(fs::exists(caminho(std::string("jogo.gv") + s))) << s;
}

// Each commit in play keeps the mark of the one before it; the log's bytes
// tell them, and the state a journal puts back, under the file's key only.
TEST_F(Sobras, TheBytesTellEachCommitsMarksAndAJournalsStateUnderTheFilesKeyOnly) {
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        const db::Marca entrada = db::marca_lida(*Base_Dados);
        Base_Dados->Execute("UPDATE principal SET nome = 'Um'");
        if (db::marca_lida(*Base_Dados).anterior != entrada.marca) _exit(4);
        armar_morte("em_jogo.commit", 2);
        Base_Dados->Execute("UPDATE principal SET nome = 'Dois'");
        Base_Dados->Execute("UPDATE principal SET nome = 'Tres'");
    });
    const std::string jogo = teste::ler_bytes(caminho("jogo.gv"));
    const auto cifra = db::Cifra_Paginas::de(db::senha_da_ligacao(Ligacao_BD),
                                             reinterpret_cast<const unsigned char*>(jogo.data()));
    ASSERT_TRUE(cifra);
    const auto* pagina = reinterpret_cast<const unsigned char*>(jogo.data());
    ASSERT_TRUE(cifra->confere(pagina, 4096, 1));
    const auto so = cifra->marcas(pagina);
    ASSERT_TRUE(so);
    auto ler = [&](const std::string& nome, const db::Cifra_Paginas* c) {
        const int fd = ::open(caminho(nome).c_str(), O_RDONLY);
        auto l = db::ler_log(fd, c, 4096);
        ::close(fd);
        return l;
    };
    // The commit before the last went into the file; the last is in the log.
    const db::Leitura_Log l = ler("jogo.gv-wal", &*cifra);
    ASSERT_EQ(l.commits.size(), 1u);
    ASSERT_TRUE(l.commits[0].marca);
    EXPECT_EQ(l.commits[0].marca->anterior, so->marca);
    EXPECT_TRUE(l.imagens_nossas > 0 && l.imagens_alheias == 0 && !l.quebra);
    // A first page torn after its first sector still tells its marks.
    std::string rasgada = jogo.substr(0, 4096);
    rasgada.replace(2048, 512, std::string(512, '\xA5'));
    const auto* r = reinterpret_cast<const unsigned char*>(rasgada.data());
    EXPECT_FALSE(cifra->confere(r, 4096, 1));
    EXPECT_EQ(cifra->marcas(r), so);
    rasgada.replace(40, 16, std::string(16, '\x11'));
    EXPECT_FALSE(cifra->marcas(r)) << "nor a first sector torn";
    // Under another game's key none of it reads.
    const std::string outro_sal(16, '\x42');
    const auto outra = db::Cifra_Paginas::de(db::senha_da_ligacao(Ligacao_BD),
                                             reinterpret_cast<const unsigned char*>(outro_sal.data()));
    const db::Leitura_Log alheio = ler("jogo.gv-wal", &*outra);
    EXPECT_TRUE(alheio.imagens_nossas == 0 && alheio.imagens_alheias > 0 && !alheio.commits[0].marca);
    EXPECT_FALSE(outra->marcas(pagina) == so);
    // Taken, the log is moved into the file before anything else is written.
    {
        auto aberto =
            db::abrir_jogo(caminho("jogo.gv"), caminho("jogo.gv"), Ligacao_BD, [](db::Database&) { return true; });
        ASSERT_TRUE(aberto.base);
        EXPECT_EQ(aberto.base->valor("PRAGMA journal_mode").texto(), "delete");
        EXPECT_FALSE(db::log_com_commits(caminho("jogo.gv")));
        EXPECT_EQ(aberto.base->valor("SELECT nome FROM principal").texto(), "Tres");
    }
    // A journal puts back the state the file holds.
    recomecar();
    const auto em_repouso = cifra->marcas(reinterpret_cast<const unsigned char*>(teste::ler_bytes(caminho("jogo.gv")).data()));
    ASSERT_TRUE(em_repouso);
    diario_quente("jogo.gv");
    const int fd = ::open(caminho("jogo.gv-journal").c_str(), O_RDONLY);
    const db::Leitura_Diario j = db::ler_diario(fd, fs::file_size(caminho("jogo.gv-journal")), &*cifra, 4096);
    ::close(fd);
    EXPECT_TRUE(j.quente && j.cabecalho && j.completo && j.pagina == 4096);
    EXPECT_EQ(j.restaura, em_repouso);
}

// Two copies of one game played apart, each killed after a commit at the
// same point: one's log beside the other is another history.
TEST_F(Sobras, ALogOfACopyPlayedApartIsRefusedAndEachCopyTakesItsOwn) {
    fs::copy_file(caminho("jogo.gv"), caminho("copia.gv"));
    jogar_e_morrer("jogo.gv", "Do Jogo", "em_jogo.commit");
    jogar_e_morrer("copia.gv", "Da Copia", "em_jogo.commit");
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
    jogar_e_morrer("jogo.gv", "Mendado", "em_jogo.commit");
    EXPECT_TRUE(db::log_com_commits(caminho("jogo.gv")));
    rasgar();
    abre_como("Mendado", 2);
    // Killed at rest: the log beside the file holds nothing.
    repor_estado();
    morrer([&] {
        if (carregar() != Resultado_Jogo::Aberto) _exit(3);
        ::kill(::getpid(), SIGKILL);
    });
    ASSERT_TRUE(fs::exists(caminho("jogo.gv-wal")));
    EXPECT_FALSE(db::log_com_commits(caminho("jogo.gv"))) << "a close would not ask to keep it";
    rasgar();
    recusado("jogo.gv", "O ficheiro \"jogo.gv\" está danificado", "The file \"jogo.gv\" is damaged");
    EXPECT_EQ(porta.mensagens[0].texto.find("-wal"), std::string::npos);
}

// The game's own log, damaged: frames the engine cannot read are dropped
// and the player told the round is lost; a whole log whose commit breaks the
// game is refused as damaged, and the game opens without it.
TEST_F(Sobras, TheGamesOwnDamagedLogIsNamedAsDamaged) {
    // The round stays in the log, its move into the file failed; a rename
    // follows it there. Damage in the round's frames loses both.
    auto morrer_na_ronda = [&] {
        recomecar();
        morrer([&] {
            if (carregar() != Resultado_Jogo::Aberto) _exit(3);
            teste::Disco_Avariado::armar(teste::Operacao::Escrita, 1, false, teste::Papel::Base);
            if (Jogar_Ronda_Campeonato() != Resultado_Ronda::Jogada) _exit(4);
            teste::Disco_Avariado::limpar();
            armar_morte("em_jogo.commit");
            Base_Dados->Execute("UPDATE principal SET nome = 'Depois'");
        });
    };
    for (const char* lingua : {"P", "I"}) {
        morrer_na_ronda();
        {
            std::fstream f(caminho("jogo.gv-wal"), std::ios::in | std::ios::out | std::ios::binary);
            // A byte of the second frame's page, flipped: whatever it held, it changes.
            const std::streamoff onde = 32 + (24 + 4096) + 24 + 100;
            f.seekg(onde);
            const char antes = static_cast<char>(f.get());
            f.seekp(onde);
            f.put(static_cast<char>(~antes));
        }
        porta.mensagens.clear();
        ASSERT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Aberto);
        EXPECT_EQ(Jornada_Actual, 1);
        ASSERT_FALSE(porta.mensagens.empty());
        EXPECT_EQ(porta.mensagens.back().texto,
                  *lingua == 'P' ? "O ficheiro \"jogo.gv-wal\" ao lado do jogo está danificado e não pôde ser usado por "
                                   "inteiro. O jogo abre na jornada 1; o que se fez depois disso perdeu-se."
                                 : "The file \"jogo.gv-wal\" beside the game is damaged and could not be used whole. "
                                   "The game opens at matchday 1; what was done after that is lost.");
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
        armar_morte("em_jogo.commit");
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

// The game's own log or journal, damaged, is called damaged; one of another
// game made by an earlier version, whose key every such game shared, is
// called another's.
TEST_F(Sobras, TheGamesOwnDamagedSideFilesAreDamagedAndAnEarlierGamesAnothers) {
    // A log with four bytes of its header damaged: the round before it is
    // in the file.
    jogar_e_morrer("jogo.gv", "Primeiro", "em_jogo.commit");
    {
        std::fstream f(caminho("jogo.gv-wal"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(8);
        f.write("\x00\x00\x20\x00", 4);
    }
    recusado("jogo.gv", "O ficheiro \"jogo.gv-wal\" ao lado do jogo está danificado. Mova-o para outra pasta",
             "The file \"jogo.gv-wal\" beside the game is damaged. Move it to another folder");
    fs::rename(caminho("jogo.gv-wal"), caminho("posto-de-parte"));
    abre_como("Manuel Tester", 2);
    // A hot journal cut short, the file needing it.
    recomecar();
    diario_quente("jogo.gv");
    fs::resize_file(caminho("jogo.gv-journal"), fs::file_size(caminho("jogo.gv-journal")) / 2);
    recusado("jogo.gv", "O ficheiro \"jogo.gv-journal\" ao lado do jogo está danificado",
             "The file \"jogo.gv-journal\" beside the game is damaged");
    // Two games of an earlier version, one's log and one's journal beside the
    // other. The second game is of another club set.
    porta.escolher(Ficheiro_Escolhido{caminho("en.gv"), "en.gv"});
    ASSERT_EQ(Novo_Jogo(escolhas("en")), Resultado_Jogo::Aberto);
    repor_estado();
    for (const char* nome : {"a.gv", "b.gv"}) fs::remove(caminho(nome));
    de_outro_tempo("a.gv", "inicio.gv");
    de_outro_tempo("b.gv", "en.gv");
    morrer([&] {
        auto d = db::Database::abrir(caminho("b.gv"), LIGACAO_JOGO);
        d->executar_script("PRAGMA locking_mode = EXCLUSIVE; PRAGMA journal_mode = WAL; BEGIN; "
                           "DELETE FROM jogadores WHERE rowid % 3 = 0; PRAGMA user_version = 1; COMMIT;");
        ::kill(::getpid(), SIGKILL);
    });
    fs::rename(caminho("b.gv-wal"), caminho("a.gv-wal"));
    recusado("a.gv", "O ficheiro \"a.gv-wal\" ao lado do jogo não pertence a este jogo.",
             "The file \"a.gv-wal\" beside the game does not belong to it.");
    fs::remove(caminho("a.gv-wal"));
    fs::remove(caminho("b.gv"));
    de_outro_tempo("b.gv", "en.gv");
    diario_quente("b.gv", "DELETE FROM jogadores WHERE rowid % 3 = 0");
    fs::rename(caminho("b.gv-journal"), caminho("a.gv-journal"));
    recusado("a.gv", "O ficheiro \"a.gv-journal\" ao lado do jogo não pertence a este jogo.",
             "The file \"a.gv-journal\" beside the game does not belong to it.");
}

// Games made before each game had its own salt kept the master database's,
// and so shared one key: each gets its own at its first load.
TEST_F(Sobras, GamesThatShareTheMastersSaltGetTheirOwnAtTheirFirstLoad) {
    const std::string sal = teste::ler_bytes(GV_BASE_MESTRA).substr(0, 16);
    for (const char* nome : {"a.gv", "b.gv"}) {
        de_outro_tempo(nome, "inicio.gv");
        ASSERT_EQ(teste::ler_bytes(caminho(nome)).substr(0, 16), sal);
    }
    ASSERT_EQ(carregar("a.gv"), Resultado_Jogo::Aberto);
    // Between the old file's close and the new one taking its name, another
    // window finds the game held still.
    bool segura = false;
    armar_accao("novo_sal.fechado", [&] {
        try {
            db::Lugar_Jogo::alcancar(caminho("b.gv"))->segurar();
        } catch (const db::Erro_BD& e) {
            segura = e.tipo() == db::Erro_BD::Tipo::Noutra_Janela;
        }
    });
    ASSERT_EQ(carregar("b.gv"), Resultado_Jogo::Aberto);
    EXPECT_TRUE(segura);
    EXPECT_THROW(db::Lugar_Jogo::alcancar(caminho("b.gv"))->segurar(), db::Erro_BD) << "held once play starts";
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

// A load that gives a game its own key waits out another window's look at
// its making (a cleaner's, a new game's refused): it is never told the
// game is being made.
TEST_F(Sobras, ALoadIsNeverToldItsGameIsBeingMade) {
    de_outro_tempo("velho.gv", "inicio.gv");
    auto olhar = std::make_unique<db::Obra>(db::Lugar_Jogo::alcancar(caminho("velho.gv")), 0);
    std::thread soltar([&] {
        ::usleep(300000);
        olhar.reset();
    });
    porta.mensagens.clear();
    EXPECT_EQ(carregar("velho.gv"), Resultado_Jogo::Aberto) << porta.mensagens.back().texto;
    EXPECT_TRUE(porta.mensagens.empty());
    soltar.join();
}

// A kill in the first commit marked of an earlier version's game, its first
// page written already: the journal it leaves is the game's own.
TEST_F(Sobras, TheJournalOfAnEarlierGamesFirstMarkedCommitIsItsOwn) {
    de_outro_tempo("velho.gv", "inicio.gv");
    morrer([&] {
        // The index build: the journal synced, the first page written.
        teste::Disco_Avariado::armar_morte(teste::Operacao::Escrita, 2, teste::Papel::Base);
        carregar("velho.gv");
    });
    teste::Disco_Avariado::limpar();
    ASSERT_TRUE(fs::exists(caminho("velho.gv-journal")));
    porta.mensagens.clear();
    EXPECT_EQ(carregar("velho.gv"), Resultado_Jogo::Aberto) << porta.mensagens.back().texto;
    EXPECT_TRUE(porta.mensagens.empty());
}

// A journal of another page size, or of random bytes, never reaches the
// engine; the game's own journal is played back.
// Commits outside play mark the file too: the journal of another moment of
// it, whose state the file held then, is never taken for its own.
TEST_F(Sobras, AJournalOfAnotherMomentOfTheGameIsNotItsOwn) {
    // A copy's transaction, its first page the first it journals.
    fs::copy_file(caminho("jogo.gv"), caminho("copia.gv"));
    morrer([&] {
        auto d = db::Database::abrir(caminho("copia.gv"), LIGACAO_JOGO);
        d->Execute("PRAGMA cache_size = 2");
        d->BeginTrans();
        d->Execute("PRAGMA user_version = 7");
        d->Execute("UPDATE jogadores SET forca = 1");
        ::kill(::getpid(), SIGKILL);
    });
    // The load's index build, in the journal's mode, then a kill; twice.
    // An index is missing each time, so that the build commits.
    for (int vez = 0; vez < 2; ++vez) {
        db::Database::abrir(caminho("jogo.gv"), LIGACAO_JOGO)->Execute("DROP INDEX ix_clubes_div");
        morrer([&] {
            armar_morte("compactar");
            carregar();
        });
    }
    fs::rename(caminho("copia.gv-journal"), caminho("jogo.gv-journal"));
    recusado("jogo.gv", "O ficheiro \"jogo.gv-journal\" ao lado do jogo não pertence a este jogo.",
             "The file \"jogo.gv-journal\" beside the game does not belong to it.");
}

TEST_F(Sobras, AJournalThatDoesNotFitIsRefusedByNameAndTheGamesOwnIsTaken) {
    diario_quente("jogo.gv");
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

// While another window of the game plays it, a load is told so by the
// game's name, every time, and copies nothing.
TEST_F(Sobras, AGameOpenInAnotherWindowIsNamedAndNothingIsCopied) {
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
        EXPECT_NE(porta.mensagens[0].texto.find("O jogo \"jogo.gv\" está aberto noutra janela do Golvantario."),
                  std::string::npos)
            << porta.mensagens[0].texto;
        EXPECT_NE(porta.mensagens[1].texto.find("The game \"jogo.gv\" is open in another window of Golvantario."),
                  std::string::npos)
            << porta.mensagens[1].texto;
    }
    ::kill(outro, SIGKILL);
    ::waitpid(outro, nullptr, 0);
    ::close(canal[0]);
}

// Under a log's or journal's name beside the game, a folder, a pipe, a link
// or a file larger than any the game writes is refused by name, at once,
// and nothing is written.
TEST_F(Sobras, ASideFileThatIsNoFileOrTooLargeIsRefusedByName) {
    SALTAR_SEM_LIGACOES();
    const struct {
        const char* sufixo;
        std::function<void(const std::string&)> criar;
        const char* pt;
        const char* en;
    } casos[] = {
        {"-wal", [](const std::string& s) { fs::create_directories(s + "/dentro"); }, "que não é um ficheiro comum",
         "which is not an ordinary file"},
        {"-journal", [](const std::string& s) { fs::create_directory(s); }, "que não é um ficheiro comum",
         "which is not an ordinary file"},
        {"-wal", [](const std::string& s) { ASSERT_EQ(::mkfifo(s.c_str(), 0600), 0); }, "que não é um ficheiro comum",
         "which is not an ordinary file"},
        {"-journal", [&](const std::string& s) { fs::create_symlink(caminho("inicio.gv"), s); },
         "que não é um ficheiro comum", "which is not an ordinary file"},
        {"-wal",
         [](const std::string& s) {
             std::ofstream(s) << "x";
             fs::resize_file(s, std::uintmax_t(3) << 30);   // sparse: no disk taken
         },
         "é muito maior do que qualquer um que o jogo escreva", "is far larger than any the game writes"},
    };
    for (const auto& c : casos) {
        recomecar();
        const std::string sobra = caminho(std::string("jogo.gv") + c.sufixo);
        c.criar(sobra);
        SCOPED_TRACE(sobra);
        // Every file's bytes, the huge one's length and time, and what is
        // in the folder.
        auto retrato = [&] {
            std::map<std::string, std::string> r;
            for (const auto& f : fs::recursive_directory_iterator(pasta)) {
                const std::string n = f.path().string();
                if (f.is_symlink() || !f.is_regular_file()) r[n] = "?";
                else if (f.file_size() > (1u << 20)) r[n] = std::to_string(f.file_size()) + "@" + std::to_string(f.last_write_time().time_since_epoch().count());
                else r[n] = teste::ler_bytes(f.path());
            }
            return r;
        };
        const auto antes = retrato();
        porta.mensagens.clear();
        for (const char* lingua : {"P", "I"}) {
            EXPECT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Recusado);
            EXPECT_TRUE(retrato() == antes) << "every file is as it was";
        }
        ASSERT_EQ(porta.mensagens.size(), 2u);
        const std::string nome = std::string("\"jogo.gv") + c.sufixo + "\"";
        EXPECT_NE(porta.mensagens[0].texto.find(nome), std::string::npos) << porta.mensagens[0].texto;
        EXPECT_NE(porta.mensagens[0].texto.find(c.pt), std::string::npos) << porta.mensagens[0].texto;
        EXPECT_NE(porta.mensagens[1].texto.find(c.en), std::string::npos) << porta.mensagens[1].texto;
        fs::remove_all(sobra);
    }
}

// Another window of the game loading or playing a game: a load of it there
// is told so by name, never that what is beside it is another's; a new game
// is not made over it.
TEST_F(Sobras, AGameAnotherWindowLoadsOrPlaysIsNamedAndNeverReplaced) {
    jogar_e_morrer("jogo.gv", "Primeiro", "em_jogo.commit");
    for (const char* ponto : {"carregar.copia", "carregar.tomar", ""}) {
        SCOPED_TRACE(ponto);
        int para_mim[2], para_ele[2];
        ASSERT_EQ(::pipe(para_mim), 0);
        ASSERT_EQ(::pipe(para_ele), 0);
        const pid_t outra = fork();
        ASSERT_GE(outra, 0);
        if (outra == 0) {
            char c = 0;
            auto esperar = [&] {
                if (::write(para_mim[1], "x", 1) != 1 || ::read(para_ele[0], &c, 1) != 1) _exit(3);
            };
            if (*ponto) armar_accao(ponto, esperar);
            if (carregar() != Resultado_Jogo::Aberto) _exit(3);
            if (!*ponto) esperar();
            _exit(Nome_Treinador == "Primeiro" ? 0 : 4);
        }
        // The other window goes on however this one ends.
        struct Soltar {
            int fd;
            pid_t outra;
            int estado = -1;
            void agora() {
                if (fd >= 0 && ::write(fd, "x", 1) == 1) ::waitpid(outra, &estado, 0);
                fd = -1;
            }
            ~Soltar() { agora(); }
        } soltar{para_ele[1], outra};
        char c = 0;
        ASSERT_EQ(::read(para_mim[0], &c, 1), 1);
        const auto antes = teste::pasta_inteira(pasta);
        porta.mensagens.clear();
        for (const char* lingua : {"I", "P"}) EXPECT_EQ(carregar("jogo.gv", lingua), Resultado_Jogo::Recusado);
        porta.escolher(Ficheiro_Escolhido{caminho("jogo.gv"), "jogo.gv"});
        porta.respostas.assign(1, Resposta::Sim);
        EXPECT_EQ(Novo_Jogo(escolhas()), Resultado_Jogo::Recusado);
        EXPECT_TRUE(teste::pasta_inteira(pasta) == antes) << "every file is as it was";
        ASSERT_EQ(porta.mensagens.size(), 3u) << "the new game refused before any question to overwrite";
        EXPECT_NE(porta.mensagens[0].texto.find("The game \"jogo.gv\" is open in another window of Golvantario."),
                  std::string::npos) << porta.mensagens[0].texto;
        EXPECT_NE(porta.mensagens[1].texto.find("O jogo \"jogo.gv\" está aberto noutra janela do Golvantario."),
                  std::string::npos) << porta.mensagens[1].texto;
        EXPECT_NE(porta.mensagens[2].texto.find("noutra janela"), std::string::npos) << porta.mensagens[2].texto;
        EXPECT_NE(porta.mensagens[2].texto.find("Nenhum ficheiro de jogo foi alterado."), std::string::npos);
        soltar.agora();
        EXPECT_TRUE(WIFEXITED(soltar.estado) && WEXITSTATUS(soltar.estado) == 0) << "the other window loaded it";
        for (int fd : {para_mim[0], para_mim[1], para_ele[0], para_ele[1]}) ::close(fd);
    }
}

// In a folder that may only be read a game cannot be played: it is refused
// by the folder's name, the same with its log beside it or without.
TEST_F(Sobras, AGameInAReadOnlyFolderIsRefusedTheSameWithOrWithoutItsLog) {
    teste::Montagem disco(pasta / "disco", 2048);
    if (!disco.montada()) GTEST_SKIP() << "no file system of the test's own here";
    jogar_e_morrer("jogo.gv", "Primeiro", "em_jogo.commit");
    fs::copy_file(caminho("jogo.gv"), pasta / "disco" / "com_log.gv");
    fs::copy_file(caminho("jogo.gv-wal"), pasta / "disco" / "com_log.gv-wal");
    fs::copy_file(caminho("inicio.gv"), pasta / "disco" / "sem_log.gv");
    ASSERT_TRUE(disco.so_leitura());
    const std::string d = (pasta / "disco").string();
    for (const char* jogo : {"disco/com_log.gv", "disco/sem_log.gv"})
        recusado(jogo, "A pasta \"" + d + "\" só pode ser lida",
                 "The folder \"" + d + "\" is read-only");
    EXPECT_NE(porta.mensagens[0].texto.find("Copie o jogo, com o ficheiro \"sem_log.gv-wal\" se estiver ao lado dele"),
              std::string::npos) << porta.mensagens[0].texto;
}

// A load's private folder lives while its load does, whatever another load
// clears meanwhile; a killed load's goes with the next.
TEST_F(Sobras, APrivateFolderGoesOnlyWhenItsLoadIsGone) {
    auto copias = [&] {
        int n = 0;
        for (const auto& f : fs::directory_iterator(temporaria)) n += f.path().filename().string().rfind("gv-copia-", 0) == 0;
        return n;
    };
    {
        db::Copia_Privada viva;
        db::limpar_copias_orfas();
        EXPECT_EQ(copias(), 1) << "a live load's folder stays";
    }
    EXPECT_EQ(copias(), 0);
    morrer([&] {
        db::Copia_Privada morta;
        ::kill(::getpid(), SIGKILL);
    });
    EXPECT_EQ(copias(), 1);
    db::limpar_copias_orfas();
    EXPECT_EQ(copias(), 0);
}

// A private copy's folder is named by the temporary folder's own trouble,
// and never made in the working folder.
TEST_F(Sobras, ATemporaryFolderThatCannotTakeTheCopyIsNamed) {
    jogar_e_morrer("jogo.gv", "Primeiro", "em_jogo.commit");
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
