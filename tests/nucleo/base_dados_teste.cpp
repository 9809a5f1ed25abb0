// The database layer, the shared counters and the compaction, the schema,
// the price bands, the persons' name order and the one source of chance.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include "platform/db/em_jogo.h"
#include "platform/db/lugar.h"
#include "platform/db/obras.h"
#include "apoio.h"
#include "data/consultas.h"
#include "montagem.h"

#include <sqlite3.h>

#include <functional>

using namespace gv;
using db::Valor;
namespace fs = std::filesystem;

namespace {

class Com_Base : public teste::Pasta_Temporaria {
protected:
    // A new empty game database: made once for the binary (each table made is a write of its own) and copied.
    std::unique_ptr<db::Database> vazia(const std::string& nome) {
        const auto m = teste::modelo("vazia.gv", [](const fs::path& f) { criar_esquema(*db::Database::criar(f.string(), LIGACAO_JOGO)); });
        fs::copy_file(m, caminho(nome));
        return db::Database::abrir(caminho(nome), Ligacao_BD);
    }
};

class BaseDados : public Com_Base {
protected:
    void SetUp() override {
        Com_Base::SetUp();
        d = vazia("jogo.gv");
        db::Transaccao t(*d);
        int forca = 10;
        for (const char* n : {"Abel", "Bruno", "Carlos", "Duarte", "Eduardo"})
            d->Execute("INSERT INTO jogadores (nome, equipa, pos, forca) VALUES (?, 'Vilar', 'df', ?)", {n, forca++});
        t.commit();
    }
    std::string nomes(const std::string& sql) { return d->valor("SELECT group_concat(nome) FROM (" + sql + ")").texto(); }
    void recusado(const fs::path& f, const std::string& ligacao, db::Erro_BD::Tipo tipo, db::Modo modo = db::Modo::Leitura_Escrita) {
        try {
            db::Database::abrir(f.string(), ligacao, modo);
            ADD_FAILURE() << f << " opened";
        } catch (const db::Erro_BD& e) {
            EXPECT_EQ(e.tipo(), tipo) << f;
        }
    }
    std::unique_ptr<db::Database> d;
};

// A deleted row's fields are refused until the next move.
TEST_F(BaseDados, RecordsetsWalkDeleteAndMove) {
    auto rs = d->OpenRecordset("SELECT * FROM jogadores ORDER BY forca");
    ASSERT_EQ(rs.RecordCount(), 5);
    std::string vistos;
    for (; !rs.Eof(); rs.MoveNext()) {
        vistos += rs["nome"].texto() + ",";
        if (rs["forca"].int32() % 2 == 0) continue;
        rs.Delete();  // Bruno and Duarte
        EXPECT_THROW(rs["nome"], db::Erro_BD);
    }
    rs.MoveFirst();
    rs.MoveNext();
    vistos += rs["nome"].texto() + ",";  // Bruno is gone from this recordset
    rs.MoveLast();
    rs.MovePrevious();
    EXPECT_EQ(vistos + rs["nome"].texto(), "Abel,Bruno,Carlos,Duarte,Eduardo,Carlos,Carlos") << "Duarte skipped backwards too";
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(nomes("SELECT nome FROM jogadores ORDER BY forca"), "Abel,Carlos,Eduardo");
    auto outro = d->OpenRecordset("SELECT * FROM jogadores ORDER BY forca");
    vistos.clear();
    for (int n : {2, -1, 1, -2}) {  // from the first row, Move 2 reaches the third
        outro.Move(n);
        vistos += outro.Eof() ? "Eof," : outro.Bof() ? "Bof," : outro["nome"].texto() + ",";
    }
    EXPECT_EQ(vistos, "Eduardo,Carlos,Eduardo,Abel,");
    outro.Move(-1);
    EXPECT_TRUE(outro.Bof());
    outro.MoveFirst();
    outro.Move(10);
    EXPECT_TRUE(outro.Eof());
    EXPECT_THROW(outro.MoveNext(), db::Erro_BD);
    auto vazio = d->OpenRecordset("SELECT * FROM jogadores WHERE forca > 100");
    EXPECT_TRUE(vazio.Eof() && vazio.Bof() && vazio.RecordCount() == 0);
    vazio.MoveLast();
    EXPECT_TRUE(vazio.Eof());
}

TEST_F(BaseDados, RecordsetsAddAndEdit) {
    auto rs = d->OpenRecordset("SELECT * FROM jogadores ORDER BY forca");
    rs.MoveNext();
    rs.AddNew();
    rs.set("NOME", "Fábio");
    rs.set("Equipa", "Vilar");
    rs.Update();
    EXPECT_EQ(rs["nome"].texto() + " " + std::to_string(rs.RecordCount()), "Bruno 6");
    rs.MoveLast();
    EXPECT_EQ(rs["nome"].texto() + rs["golos"].texto() + rs["clube_origem"].texto(), "Fábio00");
    EXPECT_EQ(d->valor("SELECT preco || joga || lesionado || clube_origem FROM jogadores WHERE nome = 'Fábio'").texto(), "0000");
    auto e = d->OpenRecordset("SELECT nome, forca, GOLOS, equipa FROM jogadores WHERE equipa = ? ORDER BY nome", {"Vilar"});
    e.Move(1);
    e.Edit();
    e.set("Golos", 7);
    e.set("FORCA", Valor());
    e.set("equipa", "Vilar d'Este");
    e.Update();
    EXPECT_TRUE(e["golos"].int32() == 7 && e["forca"].nulo());
    EXPECT_EQ(nomes("SELECT nome FROM jogadores WHERE golos <> 0"), "Bruno");
    EXPECT_EQ(d->Execute("INSERT INTO jogadores (nome, equipa) VALUES (?, ?)", {"D'Arcy O'Neill", "Vilar d'Este"}), 1);
    EXPECT_EQ(nomes("SELECT nome FROM jogadores WHERE equipa = 'Vilar d''Este' ORDER BY nome"), "Bruno,D'Arcy O'Neill");
    EXPECT_EQ(d->Execute("DELETE FROM jogadores WHERE nome = ?", {"D'Arcy O'Neill"}), 1);
    EXPECT_THROW(d->Execute("UPDATE jogadores SET forca = ? WHERE nome = ?", {1}), db::Erro_BD);
}

TEST_F(BaseDados, JoinsUpdateTheirFirstTableAndAggregatesAreReadOnly) {
    d->Execute("INSERT INTO clubes (clube, div) VALUES ('Vilar', 2)");
    auto rs = d->OpenRecordset("SELECT j.nome, j.forca, c.div FROM jogadores AS j INNER JOIN clubes c ON c.clube = j.equipa WHERE j.nome = ?",
                               {"Carlos"});
    ASSERT_TRUE(rs.actualizavel());
    EXPECT_EQ(rs["div"].int32(), 2);
    rs.Edit();
    rs.set("forca", 99);
    EXPECT_THROW(rs.set("div", 1), db::Erro_BD) << "columns of the joined table are not written";
    rs.Update();
    EXPECT_EQ(d->valor("SELECT forca || ' ' || (SELECT div FROM clubes) FROM jogadores WHERE nome = 'Carlos'").texto(), "99 2");
    auto soma = d->OpenRecordset("SELECT equipa, sum(forca) AS soma FROM jogadores GROUP BY equipa");
    EXPECT_TRUE(!soma.actualizavel() && soma["soma"].int32() == 147);
    EXPECT_THROW(soma.Edit(), db::Erro_BD);
    auto distintos = d->OpenRecordset("SELECT DISTINCT equipa FROM jogadores");
    EXPECT_FALSE(distintos.actualizavel());
    EXPECT_THROW(distintos.AddNew(), db::Erro_BD);
}

TEST_F(BaseDados, FailedTransactionLeavesTheFileAsItWasAndInnerOnesRollBackAlone) {
    d->Close();
    const auto antes = teste::ler_bytes(caminho("jogo.gv"));
    d = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
    try {
        db::Transaccao t(*d);
        d->Execute("UPDATE jogadores SET golos = golos + 1");
        d->Execute("INSERT INTO clubes (clube) VALUES ('Novo')");
        d->Execute("UPDATE tabela_que_nao_existe SET x = 1");
        t.commit();
        FAIL() << "the statement on a missing table should fail";
    } catch (const db::Erro_BD&) {
    }
    EXPECT_FALSE(d->em_transaccao());
    EXPECT_EQ(d->valor("SELECT sum(golos) + (SELECT count(*) FROM clubes) FROM jogadores").int32(), 0);
    d->Close();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), antes);
    d = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
    d->BeginTrans();
    d->Execute("UPDATE jogadores SET golos = 1 WHERE nome = 'Abel'");
    d->BeginTrans();
    d->Execute("UPDATE jogadores SET golos = 1 WHERE nome = 'Bruno'");
    d->Rollback();
    d->CommitTrans();
    EXPECT_EQ(nomes("SELECT nome FROM jogadores WHERE golos = 1"), "Abel");
}

// A failing disk can make the engine undo a whole transaction on its own:
// the levels still open are then known to be gone, unwind quietly, and the
// next transaction starts afresh.
TEST_F(BaseDados, ATransactionTheEngineUndidIsGoneAtEveryLevel) {
    {
        db::Transaccao fora(*d);
        d->Execute("UPDATE jogadores SET golos = 1 WHERE nome = 'Abel'");
        db::Transaccao dentro(*d);
        d->Execute("UPDATE jogadores SET golos = 1 WHERE nome = 'Bruno'");
        d->Execute("ROLLBACK");  // as the engine does after such an error
        EXPECT_FALSE(d->em_transaccao());
    }
    EXPECT_EQ(nomes("SELECT nome FROM jogadores WHERE golos = 1"), "");
    db::Transaccao t(*d);
    d->Execute("UPDATE jogadores SET golos = 2 WHERE nome = 'Abel'");
    t.commit();
    EXPECT_FALSE(d->em_transaccao());
    EXPECT_EQ(nomes("SELECT nome FROM jogadores WHERE golos = 2"), "Abel");
}

// Killed with its transaction half on the disk, or right after a commit.
TEST_F(BaseDados, KilledProcessLeavesEitherTheOldOrTheNewState) {
    d.reset();
    for (bool confirmar : {false, true}) {
        const pid_t filho = fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            auto b = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
            b->Execute("PRAGMA cache_size = 2");
            b->BeginTrans();
            b->Execute("UPDATE jogadores SET golos = golos + 1");
            for (int i = 0; i < 500; ++i) b->Execute("INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (?, 'x', 1, 1)", {i});
            if (confirmar) b->CommitTrans();
            _exit(0);  // no destructor, no rollback, no close
        }
        int estado = 0;
        waitpid(filho, &estado, 0);
        auto b = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        EXPECT_EQ(b->valor("SELECT sum(golos) || ' ' || (SELECT count(*) FROM Historico_Jornadas) FROM jogadores").texto(), confirmar ? "5 500" : "0 0");
    }
}

// A text file, no password or another: no game, in either mode.
TEST_F(BaseDados, FilesThatAreNotGamesOrMissingAreRefusedAndLeftUnchanged) {
    d->Close();
    std::ofstream(caminho("notas.gv")) << "Isto não é um jogo.\nJust some notes renamed to .gv\n";
    const auto notas = teste::ler_bytes(caminho("notas.gv")), jogo = teste::ler_bytes(caminho("jogo.gv"));
    for (auto modo : {db::Modo::Leitura_Escrita, db::Modo::So_Leitura}) {
        recusado(caminho("notas.gv"), Ligacao_BD, db::Erro_BD::Tipo::Nao_E_Base, modo);
        recusado(caminho("jogo.gv"), ";pwd=outra", db::Erro_BD::Tipo::Nao_E_Base, modo);
    }
    EXPECT_THROW(db::Database::abrir(caminho("jogo.gv"), ""), db::Erro_BD);
    EXPECT_TRUE(teste::ler_bytes(caminho("notas.gv")) == notas && teste::ler_bytes(caminho("jogo.gv")) == jogo);
    EXPECT_NO_THROW(db::Database::abrir(caminho("jogo.gv"), Ligacao_BD));
    recusado(caminho("nada.gv"), Ligacao_BD, db::Erro_BD::Tipo::Sem_Ficheiro);
    EXPECT_FALSE(fs::exists(caminho("nada.gv")));
    EXPECT_THROW(db::Database::criar(caminho("jogo.gv"), Ligacao_BD), db::Erro_BD);
}

// The key is derived once per password and salt: the file again, or a copy
// of it, opens with the key already derived, and it is the engine's own.
TEST_F(BaseDados, AFileAndItsCopiesOpenWithTheKeyDerivedOnce) {
    EXPECT_TRUE(d->chave_derivada());
    const int derivadas = db::Database::derivacoes();
    d.reset();
    fs::copy_file(caminho("jogo.gv"), caminho("copia.gv"));
    for (const char* f : {"jogo.gv", "copia.gv"}) {
        auto c = db::Database::abrir(caminho(f), Ligacao_BD);
        EXPECT_TRUE(c->chave_derivada()) << f;
        EXPECT_EQ(c->valor("SELECT count(*) FROM jogadores").int32(), 5) << f;
    }
    EXPECT_EQ(db::Database::derivacoes(), derivadas);
}

// The export is written as one commit of the engine, the new file synced
// once and not once per table. Interrupted halfway, or its commit refused,
// it leaves no file, the source as it was and the connection free.
TEST_F(BaseDados, AnExportIsOneCommitAndAFailedOneLeavesNothing) {
    struct Vigia {
        int commits = 0, passos = 0, parar_em = 0;
        bool recusar = false;
    } v;
    sqlite3_commit_hook(d->handle(), [](void* p) { auto* v = static_cast<Vigia*>(p); return ++v->commits, v->recusar ? 1 : 0; }, &v);
    sqlite3_progress_handler(d->handle(), 10, [](void* p) { auto* v = static_cast<Vigia*>(p); return ++v->passos == v->parar_em ? 1 : 0; }, &v);
    d->exportar(caminho("nova.gv"), Ligacao_BD);
    EXPECT_EQ(v.commits, 1);
    const int passos = v.passos;
    const auto jogo = teste::ler_bytes(caminho("jogo.gv"));
    for (bool recusar : {false, true}) {
        v = {0, 0, recusar ? 0 : passos / 2, recusar};
        EXPECT_THROW(d->exportar(caminho("falhada.gv"), Ligacao_BD), db::Erro_BD) << recusar;
        EXPECT_FALSE(fs::exists(caminho("falhada.gv")) || fs::exists(caminho("falhada.gv-journal"))) << recusar;
    }
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), jogo);
    v = {};
    d->exportar(caminho("falhada.gv"), Ligacao_BD);  // neither attached nor in a transaction any more
    sqlite3_commit_hook(d->handle(), nullptr, nullptr);
    sqlite3_progress_handler(d->handle(), 0, nullptr, nullptr);
}

// Keys got ready apart for new files, two at once: each file's salt its
// own, each key derived once and kept; one got ready for another password
// is not taken.
TEST_F(BaseDados, KeysGotReadyApartAreEachTheirFilesOwnAndDerivedOnce) {
    const int antes = db::Database::derivacoes();
    auto a = db::Database::preparar_chave(Ligacao_BD), b = db::Database::preparar_chave(Ligacao_BD);
    d->exportar(caminho("a.gv"), Ligacao_BD, std::move(b));
    d->exportar(caminho("b.gv"), Ligacao_BD, std::move(a));
    d->exportar(caminho("c.gv"), Ligacao_BD, db::Database::preparar_chave(";pwd=outra"));
    EXPECT_EQ(db::Database::derivacoes(), antes + 4) << "two got ready, one for the other password, c.gv's own";
    std::set<std::string> sais{teste::ler_bytes(caminho("jogo.gv")).substr(0, 16)};
    for (const char* f : {"a.gv", "b.gv", "c.gv"}) {
        sais.insert(teste::ler_bytes(caminho(f)).substr(0, 16));
        auto c = db::Database::abrir(caminho(f), Ligacao_BD);
        EXPECT_TRUE(c->chave_derivada() && c->valor("SELECT count(*) FROM jogadores").int32() == 5) << f;
    }
    EXPECT_EQ(sais.size(), 4u);
    EXPECT_EQ(db::Database::derivacoes(), antes + 4);
}

// Root writes through file permissions: there the file sits on a read-only
// mount of the test's.
TEST_F(BaseDados, WriteProtectedFileIsReportedForReadWrite) {
    d.reset();
    EXPECT_THROW(db::Database::abrir(caminho("jogo.gv"), Ligacao_BD, db::Modo::So_Leitura)->Execute("DELETE FROM jogadores"), db::Erro_BD);
    teste::Montagem disco(pasta / "disco", 1024);
    fs::path jogo = caminho("jogo.gv");
    if (disco.montada()) {
        jogo = pasta / "disco" / "jogo.gv";
        fs::copy_file(caminho("jogo.gv"), jogo);
        ASSERT_TRUE(disco.so_leitura());
    } else if (geteuid() != 0) {
        chmod(jogo.c_str(), 0444);
    } else {
        GTEST_SKIP() << "root without the right to mount: no way to protect the file";
    }
    recusado(jogo, Ligacao_BD, db::Erro_BD::Tipo::So_Leitura);
    EXPECT_EQ(db::Database::abrir(jogo.string(), Ligacao_BD, db::Modo::So_Leitura)->valor("SELECT count(*) FROM jogadores"), Valor(5));
}

// ---------------------------------------------------------------- the shared counters and the compaction

class Consultas : public Com_Base {
protected:
    void SetUp() override {
        Com_Base::SetUp();
        Base_Dados = vazia("jogo.gv");
        Ficheiro_Jogo = caminho("jogo.gv");
        for (auto [nome, pontos] : {std::pair{"Vilar", 3}, {"Ribeira", 0}, {"Monte", 4}})
            Base_Dados->Execute("INSERT INTO clubes (clube, div, pontos) VALUES (?, 1, ?)", {nome, pontos});
    }
};

// A failed query shows the engine's number; its words go to the error log.
TEST_F(Consultas, ContarLinhasAndLerSomaCountSumAndReportAFailedQuery) {
    Texto_SQL = "SELECT * FROM clubes;";
    EXPECT_EQ(Contar_Linhas(Texto_SQL), 3);
    EXPECT_EQ(Contar_Linhas("SELECT * FROM clubes WHERE pontos > ?", {2}), 2);
    EXPECT_EQ(Contar_Linhas("SELECT * FROM clubes WHERE pontos > 10"), 0);
    EXPECT_EQ(Texto_SQL, "SELECT * FROM clubes;");
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Contar_Linhas("SELECT * FROM tabela_inexistente"), 0);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Erro Nº : 1 - Descrição : Ocorreu um erro inesperado.");
    EXPECT_TRUE(porta.mensagens[0].icone == Icone::Exclamacao && porta.mensagens[0].botoes == Botoes::Ok);
    Lingua = "I";
    EXPECT_EQ(Contar_Linhas("SELECT nada FROM clubes"), 0);
    EXPECT_EQ(porta.mensagens.back().texto, "Error Nº : 1 - Description : An unexpected error occurred.");
    porta.mensagens.clear();
    EXPECT_EQ(Ler_Soma("SELECT sum(pontos) AS soma FROM clubes WHERE div = 2"), 0) << "sum over no rows is Null";
    EXPECT_EQ(Ler_Soma("SELECT sum(pontos) AS soma FROM clubes WHERE pontos = 0"), 0);
    EXPECT_EQ(Ler_Soma("SELECT count(clube) AS soma FROM clubes"), 3);
    EXPECT_EQ(Ler_Soma("SELECT sum(pontos) AS soma FROM clubes WHERE div = ?", {1}), 7);
    EXPECT_EQ(Ler_Soma("SELECT 2.5 AS soma FROM clubes"), 2) << "halves go to the even neighbour";
    EXPECT_EQ(Ler_Soma("SELECT clube AS soma FROM clubes WHERE clube = 'Monte'"), 0);
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Ler_Soma("SELECT sum(x) AS soma FROM nada"), 0);
    EXPECT_EQ(porta.mensagens.size(), 1u);
    Base_Dados.reset();
    EXPECT_EQ(Contar_Linhas("SELECT * FROM clubes"), 0);
    EXPECT_EQ(porta.mensagens.size(), 2u);
}

// The engine undoes a transaction of a game in play (here on an
// interrupt): every step after it fails with that cause, none is passed
// over as an ordinary failure, and nothing reaches the file, its mark
// included.
TEST_F(Consultas, AnUndoneTransactionKeepsItsCauseAndNothingAfterItReachesTheFile) {
    auto& d = *Base_Dados;
    db::entrar_em_jogo(d);
    const auto marca = db::marca_lida(d);
    const auto antes = d.valor("SELECT group_concat(clube || pontos) FROM clubes").texto();
    {
        db::Transaccao fora(d);
        d.Execute("UPDATE clubes SET pontos = 9 WHERE clube = 'Vilar'");
        db::Transaccao dentro(d);
        sqlite3_progress_handler(d.handle(), 1, [](void*) { return 1; }, nullptr);
        EXPECT_THROW(d.Execute("UPDATE clubes SET pontos = pontos + 1"), db::Transaccao_Desfeita);
        sqlite3_progress_handler(d.handle(), 0, nullptr, nullptr);
        const std::vector<std::function<void()>> passos{
            [&] { d.Execute("UPDATE clubes SET pontos = 7"); },
            [&] { Contar_Linhas("SELECT * FROM clubes"); },
            [&] { Ler_Soma("SELECT sum(pontos) AS soma FROM clubes"); },
            [&] { d.executar_script("UPDATE clubes SET div = 3;"); },
            [&] { d.BeginTrans(); },
            [&] { d.CommitTrans(); },
        };
        for (std::size_t i = 0; i < passos.size(); ++i) {
            SCOPED_TRACE(i);
            try {
                passos[i]();
                ADD_FAILURE() << "went on after the undo";
            } catch (const db::Transaccao_Desfeita& e) {
                EXPECT_EQ(e.causa().numero(), SQLITE_INTERRUPT) << "the cause is kept";
            } catch (const db::Erro_BD& e) {
                ADD_FAILURE() << "an ordinary failure: " << e.what();
            }
        }
        EXPECT_TRUE(porta.mensagens.empty()) << "nothing was reported as a failed query";
    }
    EXPECT_FALSE(d.em_transaccao());
    Base_Dados.reset();
    auto lida = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
    EXPECT_EQ(lida->valor("SELECT group_concat(clube || pontos) FROM clubes").texto(), antes);
    EXPECT_EQ(db::marca_lida(*lida).marca, marca.marca) << "no commit was marked";
}

TEST_F(Consultas, CompactionShrinksTheFileInPlaceAndKeepsItsContents) {
    db::Transaccao t(*Base_Dados);
    for (int i = 0; i < 3000; ++i) Base_Dados->Execute("INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (?, 'Vilar', 0, 1)", {i});
    t.commit();
    Base_Dados->Execute("DELETE FROM Historico_Jornadas");
    const auto tamanho = fs::file_size(caminho("jogo.gv"));
    Compactar_Base_Dados(*Base_Dados);
    EXPECT_LT(fs::file_size(caminho("jogo.gv")), tamanho);
    Base_Dados.reset();
    auto d = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
    d->Execute("INSERT INTO jogadores (nome) VALUES ('Zé')");
    EXPECT_EQ(d->valor("SELECT group_concat(clube) || ' ' || (SELECT clube_origem FROM jogadores) || (SELECT count(*) FROM clubes "
                       "WHERE clube = 'VILAR') FROM (SELECT clube FROM clubes ORDER BY clube)").texto(), "Monte,Ribeira,Vilar 01");
    std::ofstream(caminho("origem.tmp")) << "dados";
    fs::create_directory(caminho("destino.gv"));
    EXPECT_THROW(db::Lugar_Jogo::alcancar(caminho("destino.gv"))->substituir("origem.tmp", false), db::Erro_BD);
    EXPECT_TRUE(fs::is_directory(caminho("destino.gv")));
    EXPECT_EQ(teste::ler_bytes(caminho("origem.tmp")), "dados");
}

// ---------------------------------------------------------------- the schema, the price bands, the name order, chance

// (40 - idade) * forca * the band's factor; the statements agree.
TEST_F(Consultas, PricesFollowTheBandsAndWagesRoundDown) {
    for (auto [forca, preco] : {std::pair{35, 105'000LL}, {36, 144'000}, {60, 240'000}, {61, 396'500}, {75, 487'500}, {76, 684'000},
                                {100, 900'000}, {101, 1'515'000}})
        EXPECT_EQ(preco_faixa(30, forca), preco) << forca;
    EXPECT_TRUE(preco_faixa(40, 80) == 0 && preco_faixa(42, 80) < 0);
    for (auto [preco, ordenado] : {std::pair{1234567LL, 12345LL}, {99, 0}, {-150, -2}, {-200, -2}}) EXPECT_EQ(ordenado_de(preco), ordenado);
    db::Transaccao t(*Base_Dados);
    for (int forca : {1, 35, 36, 60, 61, 75, 76, 100, 101, 120})
        for (int idade : {18, 29, 40, 41}) Base_Dados->Execute("INSERT INTO jogadores (nome, forca, idade) VALUES ('x', ?, ?)", {forca, idade});
    aplicar_faixas_preco(*Base_Dados);
    for (auto rs = Base_Dados->OpenRecordset("SELECT forca, idade, preco FROM jogadores"); !rs.Eof(); rs.MoveNext())
        EXPECT_EQ(rs["preco"].inteiro(), preco_faixa(rs["idade"].int32(), rs["forca"].int32())) << rs["forca"].int32() << " " << rs["idade"].int32();
}

TEST_F(Consultas, SeedTablesCopyColumnForColumnAndNumbersStartAtZero) {
    auto& d = *Base_Dados;
    db::Transaccao escrita(d);
    d.Execute("DELETE FROM clubes");
    criar_tabelas_semente(d, "pt");
    d.Execute("INSERT INTO jogadores_pt (nome, equipa, pos, forca, idade, contrato) VALUES ('Rui', 'Vilar', 'md', 55, 24, 3)");
    d.Execute("INSERT INTO clubes_pt (clube, div, cap_estadio) VALUES ('Vilar', 2, 25000)");
    d.Execute("INSERT INTO jogadores SELECT * FROM jogadores_pt");
    d.Execute("INSERT INTO clubes SELECT * FROM clubes_pt");
    EXPECT_EQ(d.valor("SELECT nome || pos || forca || idade || contrato || clube_origem || ' ' || (SELECT cap_estadio || div FROM Clubes) "
                      "FROM jogadores").texto(), "Ruimd552430 250002");
    d.Execute("DELETE FROM jogadores");
    d.Execute("DELETE FROM clubes");
    for (const auto& t : tabelas_base()) {
        d.Execute("INSERT INTO \"" + t.nome + "\" DEFAULT VALUES");
        auto rs = d.OpenRecordset("SELECT * FROM " + t.nome);
        for (const auto& c : t.colunas) EXPECT_TRUE(c.tipo == Tipo_Coluna::Texto || rs[c.nome] == Valor(0)) << t.nome << "." << c.nome;
    }
    d.Execute("UPDATE Principal SET d_ord = 5, SIT = 20, jornada = 1");
    EXPECT_EQ(d.valor("SELECT d_Ord + sit + Jornada FROM principal").int32(), 26);
    EXPECT_EQ((std::array{tipo_tabela("Clubes_Taca_wd"), tipo_tabela("jor_aux"), tipo_tabela("Jogadores_All"), tipo_tabela("clubes_taca")}),
              (std::array{Tipo_Tabela::Semente, Tipo_Tabela::Modelo, Tipo_Tabela::Fixa, Tipo_Tabela::Jogo}));
}

// Without regard to case or accents, in C++ and in the database.
TEST_F(Consultas, NamesFollowThePersonsOrder) {
    for (auto [a, b] : {std::pair{"Académico", "ACADEMICO"}, {"São João", "sao joao"}, {"Straße", "strasse"}, {"Łódź", "lodz"}})
        EXPECT_EQ(db::comparar_nomes(a, b), 0) << a;
    EXPECT_TRUE(db::comparar_nomes("Águia", "Braga") < 0 && db::comparar_nomes("zebra", "Ébano") > 0 && db::comparar_nomes("Vila", "Vila Nova") < 0);
    const std::string partido = "Vil\xC3";  // a lead byte with nothing after it
    EXPECT_TRUE(db::comparar_nomes(partido, "Vila") != 0 && db::comparar_nomes(partido, partido) == 0);
    Base_Dados->Execute("DELETE FROM clubes");
    for (const char* c : {"Vitória", "académico", "Benfeitoria", "Águias do Sul", "ÉVORA", "atlético", "Braga Nova"})
        Base_Dados->Execute("INSERT INTO clubes (clube, div) VALUES (?, 1)", {c});
    EXPECT_EQ(Base_Dados->valor("SELECT group_concat(clube) || ' ' || (SELECT count(*) FROM clubes WHERE clube = 'Evora') || (SELECT count(*) "
                                "FROM clubes WHERE clube > 'b') FROM (SELECT clube FROM clubes ORDER BY clube)").texto(),
              "académico,Águias do Sul,atlético,Benfeitoria,Braga Nova,ÉVORA,Vitória 14");
}

// The old reseed-from-the-clock points must not restart the sequence.
TEST(Aleatorio, DrawsStayInTheUnitIntervalAndReseedPointsDoNotRepeatThem) {
    semear_aleatorio(7);
    double menor = 1, maior = 0;
    for (int i = 0; i < 100000; ++i) {
        const double x = Rnd();
        ASSERT_TRUE(x >= 0.0 && x < 1.0) << x;
        menor = std::min(menor, x);
        maior = std::max(maior, x);
    }
    EXPECT_TRUE(menor < 0.001 && maior > 0.999);
    EXPECT_EQ(std::tuple(Int(2.99), Int(-0.5), Int(0.999999 * 18) + 1), std::tuple(2, -1, 18));
    std::vector<double> a, b;
    semear_aleatorio(42);
    for (int i = 0; i < 5; ++i) a.push_back(Rnd());
    semear_aleatorio(42);
    for (int i = 0; i < 5; ++i) {
        Randomize();
        b.push_back(Rnd());
    }
    EXPECT_EQ(b, a);
}

} // namespace
