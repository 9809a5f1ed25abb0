// The database layer: recordset walking and editing, bound values,
// transactions, durability and the refusal of files that are not games.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "apoio.h"

using namespace gv;
using db::Valor;

namespace {

class BaseDados : public teste::Pasta_Temporaria {
protected:
    void SetUp() override {
        Pasta_Temporaria::SetUp();
        d = nova_base("jogo.gv");
        const char* nomes[] = {"Abel", "Bruno", "Carlos", "Duarte", "Eduardo"};
        int forca = 10;
        for (const char* n : nomes)
            d->Execute("INSERT INTO jogadores (nome, equipa, pos, forca) VALUES (?, 'Vilar', 'df', ?)", {n, forca++});
    }
    std::vector<std::string> nomes(const std::string& sql) {
        std::vector<std::string> r;
        auto rs = d->OpenRecordset(sql);
        for (; !rs.Eof(); rs.MoveNext()) r.push_back(rs["nome"].texto());
        return r;
    }
    std::unique_ptr<db::Database> d;
};

TEST_F(BaseDados, DeleteWhileWalkingSkipsTheRowNowAndInLaterRecordsets) {
    auto rs = d->OpenRecordset("SELECT * FROM jogadores ORDER BY forca");
    ASSERT_EQ(rs.RecordCount(), 5);
    std::vector<std::string> vistos;
    while (!rs.Eof()) {
        vistos.push_back(rs["nome"].texto());
        if (rs["forca"].int32() % 2 == 1) rs.Delete();  // Bruno and Duarte
        rs.MoveNext();
    }
    EXPECT_EQ(vistos, (std::vector<std::string>{"Abel", "Bruno", "Carlos", "Duarte", "Eduardo"}));
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.MoveFirst();
    rs.MoveNext();
    EXPECT_EQ(rs["nome"].texto(), "Carlos");  // Bruno is gone from this recordset
    rs.MoveLast();
    rs.MovePrevious();
    EXPECT_EQ(rs["nome"].texto(), "Carlos");  // Duarte skipped backwards too
    EXPECT_EQ(nomes("SELECT * FROM jogadores ORDER BY forca"),
              (std::vector<std::string>{"Abel", "Carlos", "Eduardo"}));
}

TEST_F(BaseDados, FieldsOfADeletedRowAreRefusedUntilTheNextMove) {
    auto rs = d->OpenRecordset("SELECT * FROM jogadores ORDER BY forca");
    rs.Delete();
    EXPECT_THROW(rs["nome"], db::Erro_BD);
    rs.MoveNext();
    EXPECT_EQ(rs["nome"].texto(), "Bruno");
}

TEST_F(BaseDados, MoveIsRelativeToTheCurrentRow) {
    auto rs = d->OpenRecordset("SELECT * FROM jogadores ORDER BY forca");
    rs.Move(2);
    EXPECT_EQ(rs["nome"].texto(), "Carlos");  // from the first row, Move 2 reaches the third
    rs.Move(1);
    EXPECT_EQ(rs["nome"].texto(), "Duarte");
    rs.Move(-3);
    EXPECT_EQ(rs["nome"].texto(), "Abel");
    rs.Move(-1);
    EXPECT_TRUE(rs.Bof());
    rs.MoveFirst();
    rs.Move(10);
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs.MoveNext(), db::Erro_BD);
}

TEST_F(BaseDados, EmptyRecordsetIsAtBothEnds) {
    auto rs = d->OpenRecordset("SELECT * FROM jogadores WHERE forca > 100");
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
    rs.MoveLast();
    EXPECT_TRUE(rs.Eof());
}

TEST_F(BaseDados, AddNewTakesTableDefaultsAndJoinsTheRecordset) {
    auto rs = d->OpenRecordset("SELECT * FROM jogadores ORDER BY forca");
    rs.MoveNext();
    rs.AddNew();
    rs.set("NOME", "Fábio");
    rs.set("Equipa", "Vilar");
    rs.Update();
    EXPECT_EQ(rs["nome"].texto(), "Bruno") << "the current row does not change";
    EXPECT_EQ(rs.RecordCount(), 6);
    rs.MoveLast();
    EXPECT_EQ(rs["nome"].texto(), "Fábio");
    EXPECT_EQ(rs["golos"].int32(), 0);
    EXPECT_EQ(rs["clube_origem"].texto(), "0");
    auto lida = d->OpenRecordset("SELECT preco, joga, lesionado, clube_origem FROM jogadores WHERE nome = ?", {"Fábio"});
    ASSERT_FALSE(lida.Eof());
    EXPECT_EQ(lida["preco"], Valor(0));
    EXPECT_EQ(lida["joga"], Valor(0));
    EXPECT_EQ(lida["lesionado"], Valor(0));
    EXPECT_EQ(lida["clube_origem"].texto(), "0");
}

TEST_F(BaseDados, EditWritesOnlyTheCurrentRowAndFieldsAreCaseInsensitive) {
    auto rs = d->OpenRecordset("SELECT nome, forca, GOLOS FROM jogadores WHERE equipa = ? ORDER BY forca", {"Vilar"});
    rs.Move(1);
    rs.Edit();
    rs.set("Golos", 7);
    rs.set("FORCA", Valor());
    rs.Update();
    EXPECT_EQ(rs["golos"].int32(), 7);
    EXPECT_TRUE(rs["forca"].nulo());
    auto v = d->OpenRecordset("SELECT nome, golos FROM jogadores WHERE golos <> 0");
    ASSERT_EQ(v.RecordCount(), 1);
    EXPECT_EQ(v["nome"].texto(), "Bruno");
}

TEST_F(BaseDados, AliasedAndJoinedQueriesStillUpdateTheirFirstTable) {
    d->Execute("INSERT INTO clubes (clube, div) VALUES ('Vilar', 2)");
    auto rs = d->OpenRecordset(
        "SELECT j.nome, j.forca, c.div FROM jogadores AS j INNER JOIN clubes c ON c.clube = j.equipa "
        "WHERE j.nome = ?", {"Carlos"});
    ASSERT_TRUE(rs.actualizavel());
    EXPECT_EQ(rs["div"].int32(), 2);
    rs.Edit();
    rs.set("forca", 99);
    EXPECT_THROW(rs.set("div", 1), db::Erro_BD) << "columns of the joined table are not written";
    rs.Update();
    EXPECT_EQ(d->valor("SELECT forca FROM jogadores WHERE nome = 'Carlos'").int32(), 99);
    EXPECT_EQ(d->valor("SELECT div FROM clubes").int32(), 2);
}

TEST_F(BaseDados, AggregatesAndDistinctAreReadOnly) {
    auto soma = d->OpenRecordset("SELECT equipa, sum(forca) AS soma FROM jogadores GROUP BY equipa");
    EXPECT_FALSE(soma.actualizavel());
    EXPECT_EQ(soma["soma"].int32(), 60);
    EXPECT_THROW(soma.Edit(), db::Erro_BD);
    auto distintos = d->OpenRecordset("SELECT DISTINCT equipa FROM jogadores");
    EXPECT_FALSE(distintos.actualizavel());
    EXPECT_THROW(distintos.AddNew(), db::Erro_BD);
}

TEST_F(BaseDados, NamesWithApostrophesAreStoredAndFoundAgain) {
    const std::string nome = "D'Arcy O'Neill";
    d->Execute("INSERT INTO jogadores (nome, equipa) VALUES (?, ?)", {nome, "Sant'Ana"});
    auto rs = d->OpenRecordset("SELECT * FROM jogadores WHERE nome = ? AND equipa = ?", {nome, "Sant'Ana"});
    ASSERT_EQ(rs.RecordCount(), 1);
    rs.Edit();
    rs.set("equipa", "Vilar d'Este");
    rs.Update();
    EXPECT_EQ(d->valor("SELECT equipa FROM jogadores WHERE nome = ?", {nome}).texto(), "Vilar d'Este");
    EXPECT_EQ(d->Execute("DELETE FROM jogadores WHERE nome = ?", {nome}), 1);
}

TEST_F(BaseDados, WrongNumberOfValuesIsAnError) {
    EXPECT_THROW(d->Execute("UPDATE jogadores SET forca = ? WHERE nome = ?", {1}), db::Erro_BD);
}

TEST_F(BaseDados, FailedTransactionLeavesTheFileAsItWas) {
    d->Close();
    auto antes = teste::ler_bytes(caminho("jogo.gv"));
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
    EXPECT_EQ(d->valor("SELECT sum(golos) FROM jogadores").int32(), 0);
    EXPECT_EQ(d->valor("SELECT count(*) FROM clubes").int32(), 0);
    d->Close();
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), antes);
}

TEST_F(BaseDados, InnerTransactionRollsBackAloneAndOuterCommits) {
    d->BeginTrans();
    d->Execute("UPDATE jogadores SET golos = 1 WHERE nome = 'Abel'");
    d->BeginTrans();
    d->Execute("UPDATE jogadores SET golos = 1 WHERE nome = 'Bruno'");
    d->Rollback();
    d->CommitTrans();
    EXPECT_EQ(d->valor("SELECT group_concat(nome) FROM jogadores WHERE golos = 1").texto(), "Abel");
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
    EXPECT_EQ(d->valor("SELECT count(*) FROM jogadores WHERE golos = 1").int32(), 0);
    db::Transaccao t(*d);
    d->Execute("UPDATE jogadores SET golos = 2 WHERE nome = 'Abel'");
    t.commit();
    EXPECT_FALSE(d->em_transaccao());
    EXPECT_EQ(d->valor("SELECT group_concat(nome) FROM jogadores WHERE golos = 2").texto(), "Abel");
}

// A process killed in the middle of a transaction leaves the old state;
// one killed right after a commit leaves the new one.
TEST_F(BaseDados, KilledProcessLeavesEitherTheOldOrTheNewState) {
    d->Close();
    d.reset();
    for (bool confirmar : {false, true}) {
        pid_t filho = fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            auto b = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
            b->BeginTrans();
            b->Execute("UPDATE jogadores SET golos = golos + 1");
            for (int i = 0; i < 2000; ++i)
                b->Execute("INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (?, 'x', 1, 1)", {i});
            if (confirmar) b->CommitTrans();
            _exit(0);  // no destructor, no rollback, no close
        }
        int estado = 0;
        waitpid(filho, &estado, 0);
        auto b = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        int golos = b->valor("SELECT sum(golos) FROM jogadores").int32();
        int linhas = b->valor("SELECT count(*) FROM Historico_Jornadas").int32();
        if (confirmar) {
            EXPECT_EQ(golos, 5);
            EXPECT_EQ(linhas, 2000);
        } else {
            EXPECT_EQ(golos, 0);
            EXPECT_EQ(linhas, 0);
        }
    }
}

TEST_F(BaseDados, WrongPasswordIsRefusedAndTheFileIsUntouched) {
    d->Close();
    auto antes = teste::ler_bytes(caminho("jogo.gv"));
    try {
        db::Database::abrir(caminho("jogo.gv"), ";pwd=outra");
        FAIL() << "opened with the wrong password";
    } catch (const db::Erro_BD& e) {
        EXPECT_EQ(e.tipo(), db::Erro_BD::Tipo::Nao_E_Base);
    }
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), antes);
    EXPECT_NO_THROW(db::Database::abrir(caminho("jogo.gv"), Ligacao_BD));
}

TEST_F(BaseDados, FilesThatAreNotGamesAreRefusedAndLeftUnchanged) {
    {
        std::ofstream f(caminho("notas.gv"));
        f << "Isto não é um jogo.\nJust some notes renamed to .gv\n";
    }
    auto antes = teste::ler_bytes(caminho("notas.gv"));
    for (auto modo : {db::Modo::Leitura_Escrita, db::Modo::So_Leitura}) {
        try {
            db::Database::abrir(caminho("notas.gv"), Ligacao_BD, modo);
            FAIL() << "a text file opened as a database";
        } catch (const db::Erro_BD& e) {
            EXPECT_EQ(e.tipo(), db::Erro_BD::Tipo::Nao_E_Base);
        }
    }
    EXPECT_EQ(teste::ler_bytes(caminho("notas.gv")), antes);
    // An unencrypted database is not a game either.
    EXPECT_THROW(db::Database::abrir(caminho("jogo.gv"), ""), db::Erro_BD);
}

TEST_F(BaseDados, MissingFileIsReportedAndNotCreated) {
    try {
        db::Database::abrir(caminho("nada.gv"), Ligacao_BD);
        FAIL();
    } catch (const db::Erro_BD& e) {
        EXPECT_EQ(e.tipo(), db::Erro_BD::Tipo::Sem_Ficheiro);
    }
    EXPECT_FALSE(std::filesystem::exists(caminho("nada.gv")));
    EXPECT_THROW(db::Database::criar(caminho("jogo.gv"), Ligacao_BD), db::Erro_BD) << "never overwrites";
}

TEST_F(BaseDados, ReadOnlyOpenRefusesWrites) {
    d->Close();
    auto leitor = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD, db::Modo::So_Leitura);
    EXPECT_EQ(leitor->valor("SELECT count(*) FROM jogadores").int32(), 5);
    EXPECT_THROW(leitor->Execute("DELETE FROM jogadores"), db::Erro_BD);
}

TEST_F(BaseDados, WriteProtectedFileIsReportedForReadWrite) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes through file permissions";
    d->Close();
    chmod(caminho("jogo.gv").c_str(), 0444);
    try {
        db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        FAIL();
    } catch (const db::Erro_BD& e) {
        EXPECT_EQ(e.tipo(), db::Erro_BD::Tipo::So_Leitura);
    }
}

TEST_F(BaseDados, FileLockedByAnotherConnectionIsReported) {
    d->BeginTrans();
    d->Execute("UPDATE jogadores SET golos = 3");  // holds the write lock
    try {
        db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        FAIL() << "a locked file opened for writing";
    } catch (const db::Erro_BD& e) {
        EXPECT_EQ(e.tipo(), db::Erro_BD::Tipo::Bloqueada);
    }
    d->Rollback();
}

} // namespace
