// When the machine fails the game (a full disk, a read-only file or folder,
// a file another program holds), the person is told so in plain words, in
// the game's language, and the game file is unchanged. An installed game
// runs from a folder it cannot write.

#include <sys/stat.h>

#include <sqlite3.h>

#include "data/consultas.h"
#include "desk/proximo_jogo.h"
#include "jogo_apoio.h"
#include "matchday/ronda.h"
#include "montagem.h"
#include "platform/falhas.h"
#include "season/mudanca_epoca.h"

using namespace gv;
namespace fs = std::filesystem;

namespace {

using teste::Montagem;

class Arredores : public teste::Com_Mestra {
protected:
    void TearDown() override {
        desarmar_falhas();
        Com_Mestra::TearDown();
    }
    Resultado_Jogo carregar(const fs::path& ficheiro) {
        porta.escolher(Ficheiro_Escolhido{ficheiro.string(), ficheiro.filename().string()});
        return Carregar_Jogo();
    }
    // The last message: every line expected, in order, and nothing of the
    // engine (no statement, no placeholder).
    void mensagem(const std::vector<std::string>& linhas) {
        ASSERT_FALSE(porta.mensagens.empty());
        const std::string& m = porta.mensagens.back().texto;
        std::size_t de = 0;
        for (const auto& l : linhas) {
            const auto onde = m.find(l, de);
            ASSERT_NE(onde, std::string::npos) << l << " in: " << m;
            de = onde + l.size();
        }
        EXPECT_EQ(porta.mensagens.back().icone, Icone::Critico);
        for (const char* motor : {"SELECT", "UPDATE", "INSERT", "DELETE", "ATTACH", "PRAGMA", "sqlcipher", "WHERE", "(?", "?)", " ? ", "SQLITE", "sqlite"})
            EXPECT_EQ(m.find(motor), std::string::npos) << motor << " in: " << m;
    }
    // A saved game in folder `onde`, closed.
    fs::path jogo_em(const fs::path& onde) {
        novo_jogo_pt();
        repor_estado();
        Ligacao_BD = LIGACAO_JOGO;
        const fs::path destino = onde / "jogo.gv";
        if (destino != fs::path(caminho("jogo.gv"))) fs::copy_file(caminho("jogo.gv"), destino);
        porta.mensagens.clear();
        return destino;
    }
};

TEST_F(Arredores, AFullDiskIsNamedAndTheGameIsUnchanged) {
    Montagem disco(pasta / "disco", 1024);
    const fs::path jogo = jogo_em(disco.montada() ? pasta / "disco" : pasta);

    // Loading: the rewrite of the file finds no room.
    disco.montada() ? disco.encher() : armar_falha("compactar", SQLITE_FULL);
    const auto antes = teste::ler_bytes(jogo);
    EXPECT_EQ(carregar(jogo), Resultado_Jogo::Recusado);
    mensagem({"Não foi possível abrir o jogo.", "O disco está cheio.", "O ficheiro do jogo não foi alterado."});
    EXPECT_EQ(teste::ler_bytes(jogo), antes);

    // Playing, in English: the round is undone and can be played again.
    if (disco.montada()) fs::remove(pasta / "disco" / "enchimento");
    ASSERT_EQ(carregar(jogo), Resultado_Jogo::Aberto);
    Lingua = "I";
    // The open file is in write-ahead mode and is rewritten plain on closing:
    // what must come through is its content.
    const auto jogado = teste::conteudo_base(*Base_Dados);
    disco.montada() ? disco.encher() : armar_falha("ronda.campeonato.gravar", SQLITE_FULL);
    EXPECT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Falhada);
    mensagem({"The matchday could not be played. Nothing was saved", "The disk is full."});
    repor_estado();
    if (disco.montada()) fs::remove(pasta / "disco" / "enchimento");
    auto d = db::Database::abrir(jogo.string(), Ligacao_BD);
    EXPECT_EQ(teste::conteudo_base(*d), jogado);
}

TEST_F(Arredores, ARoundTheFullDiskKeepsInTheLogIsSavedAndThePersonToldToKeepTheLog) {
    Montagem disco(pasta / "disco", 2048);
    if (!disco.montada()) GTEST_SKIP() << "no file system of the test's own here";
    const fs::path jogo = jogo_em(pasta / "disco");
    ASSERT_EQ(carregar(jogo), Resultado_Jogo::Aberto);
    // The round's commit is in the log; the disk is full before the log is
    // moved into the file, which must grow to take it.
    armar_accao("em_jogo.commit", [&] { disco.encher(); });
    testing::internal::CaptureStderr();
    EXPECT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    Fechar_Base_Dados();
    const std::string registo = testing::internal::GetCapturedStderr();
    EXPECT_NE(registo.find("(checkpoint)"), std::string::npos) << registo;
    ASSERT_GT(fs::file_size(jogo.string() + "-wal"), 0u);
    ASSERT_FALSE(porta.mensagens.empty());
    EXPECT_EQ(porta.mensagens.back().texto,
              "O jogo está gravado, mas a última parte ficou no ficheiro \"jogo.gv-wal\" ao lado dele. Mantenha os "
              "dois ficheiros juntos: o jogo fica completo quando for aberto de novo.");
    EXPECT_EQ(porta.mensagens.back().icone, Icone::Critico);
    // With room again, the game opens whole.
    fs::remove(pasta / "disco" / "enchimento");
    repor_estado();
    Ligacao_BD = LIGACAO_JOGO;
    ASSERT_EQ(carregar(jogo), Resultado_Jogo::Aberto);
    EXPECT_EQ(Jornada_Actual, 2);
    EXPECT_EQ(Base_Dados->valor("SELECT count(*) FROM Historico_Jornadas WHERE jor = 1").int32(), 54);
}

TEST_F(Arredores, ANewGameOnAFullDiskIsNamedAndNothingIsLeft) {
    Montagem disco(pasta / "disco", 512);
    const fs::path onde = disco.montada() ? pasta / "disco" : pasta;
    disco.montada() ? disco.encher() : armar_falha("novo_jogo.copia", SQLITE_FULL);
    porta.escolher(Ficheiro_Escolhido{(onde / "novo.gv").string(), "novo.gv"});
    EXPECT_EQ(Novo_Jogo(escolhas()), Resultado_Jogo::Recusado);
    mensagem({"Não foi possível criar o novo jogo.", "O disco está cheio.", "Nenhum ficheiro de jogo foi alterado."});
    EXPECT_FALSE(fs::exists(onde / "novo.gv") || fs::exists(onde / "novo.gv.a-criar"));
}

TEST_F(Arredores, AReadOnlyGameFileIsNamedAndLeftAlone) {
    Montagem disco(pasta / "disco", 1024);
    const bool injectar = !disco.montada() && ::geteuid() == 0;
    const fs::path jogo = jogo_em(disco.montada() ? pasta / "disco" : pasta);
    ASSERT_TRUE(!disco.montada() || disco.so_leitura());
    if (!disco.montada() && !injectar) ::chmod(jogo.c_str(), 0444);
    const auto antes = teste::ler_bytes(jogo);
    // A folder that may only be read is named, with what to do; a file alone.
    const std::string d = (pasta / "disco").string();
    for (auto [lingua, linhas] :
         {std::pair{"P", std::vector<std::string>{"Não foi possível abrir o jogo.",
                                                  disco.montada() ? "A pasta \"" + d + "\" só pode ser lida" : "O ficheiro, ou a pasta onde está, só pode ser lido.",
                                                  "O ficheiro do jogo não foi alterado."}},
          {"I", {"The game could not be opened.",
                 disco.montada() ? "The folder \"" + d + "\" is read-only" : "The file, or its folder, is read-only.",
                 "The game file is unchanged."}}}) {
        Lingua = lingua;
        if (injectar) armar_falha("compactar", SQLITE_READONLY);
        EXPECT_EQ(carregar(jogo), Resultado_Jogo::Recusado);
        mensagem(linhas);
    }
    EXPECT_EQ(teste::ler_bytes(jogo), antes);
}

TEST_F(Arredores, AFileAnotherProgramHoldsOrADiskErrorIsNamed) {
    const fs::path jogo = jogo_em(pasta);
    auto outro = db::Database::abrir(jogo.string(), Ligacao_BD);
    outro->BeginTrans();
    outro->Execute("UPDATE principal SET sit = 1");
    Lingua = "I";
    EXPECT_EQ(carregar(jogo), Resultado_Jogo::Recusado);
    mensagem({"The game could not be opened.", "The file \"jogo.gv\" is in use by another program.", "The game file is unchanged."});
    outro.reset();
    ASSERT_EQ(carregar(jogo), Resultado_Jogo::Aberto);
    // While it is played the game holds its file: no other program opens it.
    for (auto modo : {db::Modo::Leitura_Escrita, db::Modo::So_Leitura}) try {
            db::Database::abrir(jogo.string(), Ligacao_BD, modo);
            ADD_FAILURE() << "opened while the game holds it";
        } catch (const db::Erro_BD& e) {
            EXPECT_EQ(e.tipo(), db::Erro_BD::Tipo::Bloqueada);
        }
    armar_falha("epoca.gravar", SQLITE_IOERR_WRITE);
    EXPECT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Falhada);
    mensagem({"The season could not be changed. Nothing was saved", "The disk failed to read or write."});
}

// The executable's folder cannot be written: the master database is copied
// to the user's data folder once, and the game is made, played, saved and
// loaded there. A folder that can be written stays the program's folder.
TEST_F(Arredores, AnInstalledGameRunsFromAFolderItCannotWrite) {
    const fs::path dados = pasta / "dados";
    EXPECT_EQ(Escolher_Pasta_Programa(pasta.string(), dados.string()), pasta.string());
    EXPECT_FALSE(fs::exists(dados));

    Montagem programa(pasta / "programa", 2048);
    const fs::path bin = pasta / "programa" / "bin", partilha = pasta / "programa" / "share" / "golvantario99";
    for (const fs::path& p : {bin, partilha}) fs::create_directories(p);
    fs::copy_file(caminho(NOME_BASE_MESTRA), partilha / NOME_BASE_MESTRA);
    if (programa.montada())
        ASSERT_TRUE(programa.so_leitura());
    else if (::geteuid() != 0)
        for (const fs::path& p : {bin, partilha, pasta / "programa"}) ::chmod(p.c_str(), 0555);
    else
        GTEST_SKIP() << "no way to make a folder read-only for root here";
    ASSERT_FALSE(pasta_gravavel(bin.string()));
    const auto mestra = teste::ler_bytes(partilha / NOME_BASE_MESTRA);

    Pasta_Programa = Escolher_Pasta_Programa(bin.string(), dados.string());
    EXPECT_EQ(Pasta_Programa, dados.string());
    EXPECT_EQ(teste::ler_bytes(dados / NOME_BASE_MESTRA), mestra);
    porta.escolher(Ficheiro_Escolhido{(dados / "jogo.gv").string(), "jogo.gv"});
    ASSERT_EQ(Novo_Jogo(escolhas()), Resultado_Jogo::Aberto);
    EXPECT_EQ(porta.pedidos_ficheiro.back().pasta_inicial, dados.string());
    ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
    repor_estado();
    Ligacao_BD = LIGACAO_JOGO;
    Pasta_Programa = Escolher_Pasta_Programa(bin.string(), dados.string());
    ASSERT_EQ(carregar(dados / "jogo.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(Jornada_Actual, 2);
    EXPECT_EQ(teste::ler_bytes(partilha / NOME_BASE_MESTRA), mestra);
    if (!programa.montada())
        for (const fs::path& p : {bin, partilha, pasta / "programa"}) ::chmod(p.c_str(), 0755);
}

} // namespace
