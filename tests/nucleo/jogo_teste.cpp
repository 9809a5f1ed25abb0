// New game and load game through the scripted port.

#include "data/consultas.h"
#include "matchday/ronda.h"
#include "jogo_apoio.h"
#include "platform/falhas.h"

#include <sqlite3.h>

using namespace gv;
namespace fs = std::filesystem;

namespace {

class NovoJogo : public teste::Com_Mestra {
protected:
    void TearDown() override {
        desarmar_falhas();
        Com_Mestra::TearDown();
    }
    void fechar() {
        if (Base_Dados) Base_Dados->Close();
        Base_Dados.reset();
    }
    // A file that must come through a refused new game or load unchanged.
    std::string ficheiro_existente(const std::string& nome, const std::string& conteudo) {
        std::ofstream(caminho(nome)) << conteudo;
        return conteudo;
    }
    std::string restos() {
        std::string r;
        for (auto& e : fs::directory_iterator(pasta)) {
            const auto n = e.path().filename().string();
            // The open game's write-ahead log and its index go when it closes.
            if (Base_Dados && (n == "jogo.gv-wal" || n == "jogo.gv-shm" || n == "jogo.gv-aberto")) continue;
            if (teste::escondido_pelo_sistema(n)) continue;
            if (n != NOME_BASE_MESTRA && n != "jogo.gv" && n != "antigo.gv") r += n + " ";
        }
        return r;
    }
    std::string texto(const std::string& sql) { return Base_Dados->valor(sql).texto(); }
};

TEST_F(NovoJogo, BuildsACompleteGame) {
    auto e = escolhas("pt");
    ASSERT_EQ(novo_jogo("jogo.gv", e), Resultado_Jogo::Aberto);
    ASSERT_EQ(porta.pedidos_ficheiro.size(), 1u);
    const auto& p = porta.pedidos_ficheiro[0];
    EXPECT_EQ(std::tuple(p.guardar, p.titulo, p.filtro, p.pasta_inicial),
              std::tuple(true, std::string("Qual o nome do novo Ficheiro?"), std::string("Jogos Golvantario (*.gv)|*.gv"), pasta.string()));
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Ficheiro_Jogo, caminho("jogo.gv"));
    EXPECT_EQ(texto("SELECT (SELECT count(*) FROM jogos) || ' ' || (SELECT count(*) FROM clubes) || ' ' || (SELECT count(*) FROM clubes_taca) "
                    "|| ' ' || (SELECT count(*) FROM jogos_taca) || ' ' || (SELECT count(*) FROM clubes_taca_qualif) || ' ' || "
                    "(SELECT group_concat(versao || '.' || rev) FROM versao)"),
              "918 54 64 32 0 99.6");
    // The cup's first round draws every entrant once, no result yet.
    EXPECT_EQ(contar("SELECT count(DISTINCT c) FROM (SELECT casa AS c FROM jogos_taca WHERE resul IS NULL UNION ALL SELECT fora "
                     "FROM jogos_taca WHERE resul IS NULL) WHERE c IN (SELECT clube FROM clubes_taca)"), 64);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE preco <= 0 OR ordenado <> preco / 100"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE emprestado <> 0 OR clube_origem <> '0' OR golos <> 0"), 0);
    for (const char* cc : Codigos_Pais)
        for (const auto& t : tabelas_semente(cc)) EXPECT_FALSE(Base_Dados->tabela_existe(t.nome)) << t.nome;
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa <> ? AND joga <> 0", {e.clube}), 0) << "a line-up only for his club";
    EXPECT_EQ(texto("SELECT count(*) || '|' || nome || '|' || equipa || '|' || Jornada || ' ' || Epoca || ' ' || taca || ' ' || contrato "
                    "|| ' ' || sit || ' ' || T_contrato || ' ' || d_total || ' ' || (v + e + d + gc + pc + d_in + d_out + cont) FROM principal"),
              "1|Manuel Tester|" + e.clube + "|1 1999 1 1 20 2 2000000 0");
    EXPECT_EQ(std::tuple(Nome_Treinador, Clube_Treinador, Jornada_Actual, Epoca_Actual, Eliminatoria_Taca, Jogo_Real),
              std::tuple(std::string("Manuel Tester"), e.clube, 1, 1999, 1, 1));
    EXPECT_EQ(restos(), "");
}

// The master database's checks cover the seed rows of every set.
TEST_F(NovoJogo, EveryClubSetListsItsClubsAndAnotherSetMakesAGame) {
    for (const char* cc : Codigos_Pais)
        for (const auto& l : Ler_Clubes_Pais(cc))
            EXPECT_TRUE(l.size() == 18 && std::is_sorted(l.begin(), l.end(), [](auto& a, auto& b) { return db::comparar_nomes(a, b) < 0; })) << cc;
    EXPECT_TRUE(Ler_Clubes_Pais("xx")[0].empty());
    auto e = escolhas("wd", Ler_Clubes_Pais("wd")[2].back());
    e.dinheiro = "5,000,000";
    e.jogo_real = false;
    Jogo_Real = 1;  // left from an earlier game
    ASSERT_EQ(novo_jogo("wd.gv", e), Resultado_Jogo::Aberto);
    EXPECT_EQ(texto("SELECT (SELECT count(*) FROM jogos) || ' ' || (SELECT count(*) FROM jogos_taca) || ' ' || d_total || ' ' || contrato || "
                    "' ' || (SELECT div FROM clubes WHERE clube = equipa) FROM principal"), "918 32 5000000 0 3");
    EXPECT_EQ(Jogo_Real, 0) << "the option is set both ways";
    for (auto [texto, valor] : {std::pair{"5,000,000", 5000000}, {"2,000,000", 2000000}, {"1,000,000", 1000000}, {"", 0}})
        EXPECT_EQ(Dinheiro_Inicial(texto), valor) << "the leading number in millions";
}

TEST_F(NovoJogo, EmptyNameOrCancelledDialogMakeNoGame) {
    auto e = escolhas();
    e.nome = "";
    Lingua = "I";
    EXPECT_EQ(Novo_Jogo(e), Resultado_Jogo::Nome_Em_Falta);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "You must put your name.");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_TRUE(porta.pedidos_ficheiro.empty());
    e.nome = "   ";
    porta.escolher(std::nullopt);
    EXPECT_EQ(Novo_Jogo(e), Resultado_Jogo::Cancelado);
    EXPECT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(restos(), "");
    EXPECT_FALSE(Base_Dados);
    EXPECT_EQ(novo_jogo("jogo.gv", e), Resultado_Jogo::Aberto);
}

TEST_F(NovoJogo, ExistingFileIsReplacedOnlyOnYesAndNeverTheMasterDatabase) {
    const auto antes = ficheiro_existente("antigo.gv", "um jogo antigo"), mestra = teste::ler_bytes(caminho(NOME_BASE_MESTRA));
    porta.responder(Resposta::Nao);
    EXPECT_EQ(novo_jogo("antigo.gv", escolhas()), Resultado_Jogo::Cancelado);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Este Ficheiro já existe. Substituir?");
    EXPECT_EQ(porta.mensagens[0].botoes, Botoes::SimNao);
    EXPECT_EQ(teste::ler_bytes(caminho("antigo.gv")), antes);
    porta.responder(Resposta::Sim);
    EXPECT_EQ(novo_jogo("antigo.gv", escolhas()), Resultado_Jogo::Aberto);
    EXPECT_EQ(contar("SELECT count(*) FROM principal"), 1);
    EXPECT_EQ(Ficheiro_Jogo, caminho("antigo.gv"));
    fechar();
    porta.mensagens.clear();
    for (const fs::path& f : {pasta / NOME_BASE_MESTRA, pasta / "." / NOME_BASE_MESTRA}) {
        porta.escolher(Ficheiro_Escolhido{f.string(), NOME_BASE_MESTRA});
        EXPECT_EQ(Novo_Jogo(escolhas()), Resultado_Jogo::Recusado) << f;
        EXPECT_EQ(porta.mensagens.back().icone, Icone::Critico);
    }
    EXPECT_EQ(porta.mensagens.size(), 2u) << "refused before any question";
    EXPECT_EQ(teste::ler_bytes(caminho(NOME_BASE_MESTRA)), mestra);
}

TEST_F(NovoJogo, AFailureAtAnyStepLeavesTheOldFileAsItWas) {
    for (const char* ponto : {"novo_jogo.copia", "compactar", "novo_jogo.semeado", "novo_jogo.antes_de_gravar"}) {
        SCOPED_TRACE(ponto);
        const auto antes = ficheiro_existente("antigo.gv", std::string("o jogo de antes de ") + ponto);
        porta.mensagens.clear();
        armar_falha(ponto);
        porta.responder(Resposta::Sim);
        EXPECT_EQ(novo_jogo("antigo.gv", escolhas()), Resultado_Jogo::Recusado);
        EXPECT_EQ(teste::ler_bytes(caminho("antigo.gv")), antes);
        ASSERT_EQ(porta.mensagens.size(), 2u);  // the question, then the failure
        EXPECT_EQ(porta.mensagens[1].texto.rfind("Não foi possível criar o novo jogo.", 0), 0u);
        EXPECT_FALSE(Base_Dados);
        EXPECT_EQ(restos(), "");
        EXPECT_FALSE(porta.ocupado) << "the busy pointer is back to the arrow";
        desarmar_falhas();
    }
}

// The new game's key, got ready while the game is built, is the engine's
// own: the file opens in a connection of the engine's with the password
// alone. One key is derived for it, and none more to open it.
TEST_F(NovoJogo, TheNewGameOpensWithThePasswordAloneAndCostsOneDerivation) {
    const auto e = escolhas();
    const int antes = db::Database::derivacoes();
    ASSERT_EQ(novo_jogo("jogo.gv", e), Resultado_Jogo::Aberto);
    EXPECT_EQ(db::Database::derivacoes(), antes + 1);
    EXPECT_TRUE(Base_Dados->chave_derivada());
    fechar();
    sqlite3* h = nullptr;
    const std::string senha = db::senha_da_ligacao(Ligacao_BD);
    sqlite3_open_v2(caminho("jogo.gv").c_str(), &h, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_key(h, senha.data(), static_cast<int>(senha.size()));
    std::string nome;
    sqlite3_exec(h, "PRAGMA cipher_page_size = 4096; SELECT nome FROM principal", [](void* n, int, char** v, char**) {
        return *static_cast<std::string*>(n) = v[0], 0;
    }, &nome, nullptr);
    sqlite3_close(h);
    EXPECT_EQ(nome, "Manuel Tester");
}

class CarregarJogo : public NovoJogo {
protected:
    void SetUp() override {
        NovoJogo::SetUp();
        novo_jogo_pt();
        fechar();
        repor_estado();
        Ligacao_BD = LIGACAO_JOGO;
        Pasta_Programa = pasta.string();
        porta.mensagens.clear();
    }
    Resultado_Jogo carregar(const std::string& nome) {
        porta.escolher(Ficheiro_Escolhido{caminho(nome), nome});
        return Carregar_Jogo();
    }
    void alterar(const std::string& sql, const std::string& nome = "jogo.gv") { db::Database::abrir(caminho(nome), Ligacao_BD)->Execute(sql); }
};

// Each load sets the whole state from the file.
TEST_F(CarregarJogo, RestoresTheGameState) {
    alterar("UPDATE principal SET Jornada = 12, Epoca = 2001, taca = 3, contrato = 1");
    Jogo_Real = 0;
    Vencedor_Taca = "de outro jogo";
    ASSERT_EQ(carregar("jogo.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(porta.pedidos_ficheiro.back().titulo + (porta.pedidos_ficheiro.back().guardar ? " (guardar)" : ""), "Abrir Ficheiro Existente");
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(std::tuple(Nome_Treinador, Clube_Treinador.empty(), Jornada_Actual, Epoca_Actual, Eliminatoria_Taca, Jogo_Real, Vencedor_Taca),
              std::tuple(std::string("Manuel Tester"), false, 12, 2001, 3, 1, std::string()));
    EXPECT_EQ(Ficheiro_Jogo, caminho("jogo.gv"));
    EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 918);
    EXPECT_FALSE(porta.ocupado);
    fechar();
    alterar("UPDATE principal SET contrato = 0");
    alterar("INSERT INTO clubes_taca_qualif (clube) VALUES ('Académico Fontelada')");
    ASSERT_EQ(carregar("jogo.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(std::tuple(Jogo_Real, Vencedor_Taca), std::tuple(0, std::string("Académico Fontelada")));
    // The game being played, loaded again over itself.
    EXPECT_EQ(carregar("jogo.gv"), Resultado_Jogo::Aberto);
    EXPECT_TRUE(porta.mensagens.empty());
}

// A game saved before the pages grew keeps its old page size: it loads,
// plays a round and opens again; a new game has the new size.
TEST_F(CarregarJogo, AGameSavedWithTheOldPageSizeLoadsAndPlays) {
    {
        auto d = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        EXPECT_EQ(d->valor("PRAGMA page_size").int32(), db::Database::Pagina_Nova);
        d->Execute("ATTACH DATABASE ? AS antigo KEY '" + db::senha_da_ligacao(Ligacao_BD) + "'", {caminho("antigo.gv")});
        d->executar_script("PRAGMA antigo.cipher_page_size = 1024; SELECT sqlcipher_export('antigo'); DETACH DATABASE antigo;");
    }
    ASSERT_EQ(carregar("antigo.gv"), Resultado_Jogo::Aberto);
    EXPECT_TRUE(porta.mensagens.empty());
    Preco_Bilhete = 15;
    ASSERT_EQ(Jogar_Ronda_Campeonato(), Resultado_Ronda::Jogada);
    fechar();
    auto d = db::Database::abrir(caminho("antigo.gv"), Ligacao_BD);
    EXPECT_EQ(d->valor("PRAGMA page_size").int32(), db::Database::Pagina_Antiga);
    EXPECT_EQ(d->valor("SELECT Jornada FROM principal").int32(), 2);
    EXPECT_EQ(d->valor("SELECT count(*) FROM jogos WHERE jor = 1 AND result LIKE '% - %'").int32(), 27);
}

TEST_F(CarregarJogo, OtherVersionOrMissingFileAreRefusedAndTheFileStaysAsItWas) {
    alterar("UPDATE versao SET rev = 5");
    const auto antes = teste::ler_bytes(caminho("jogo.gv"));
    EXPECT_EQ(carregar("jogo.gv"), Resultado_Jogo::Recusado);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Versões dos Jogos Incompativeis.\nVersão do Golvantario: 99.6\nVersão do jogo.gv: 99.5");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_FALSE(Base_Dados) << "the database is closed";
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), antes);
    Lingua = "I";
    EXPECT_EQ(carregar("jogo.gv"), Resultado_Jogo::Recusado);
    EXPECT_EQ(porta.mensagens[1].texto, "Wrong Game Version.\nGolvantario version: 99.6\njogo.gv version: 99.5");
    EXPECT_EQ(carregar("nada.gv"), Resultado_Jogo::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "This file doesn't exists.");
    EXPECT_FALSE(fs::exists(caminho("nada.gv")));
    porta.escolher(std::nullopt);
    EXPECT_EQ(Carregar_Jogo(), Resultado_Jogo::Cancelado);
    EXPECT_EQ(porta.mensagens.size(), 3u);
}

// Every file that is no game is refused with a word, in the game's
// language and free of the engine's text, and stays as it was.
TEST_F(CarregarJogo, EveryRefusedFileSaysWhyInBothLanguagesAndStaysUnchanged) {
    ficheiro_existente("notas.gv", "Isto é uma lista de compras, não um jogo.\n");
    ficheiro_existente("vazio.gv", "");
    for (auto [nome, sql] : {std::pair{"sem_versao.gv", "DROP TABLE versao"}, {"sem_principal.gv", "DELETE FROM principal"}}) {
        fs::copy_file(caminho("jogo.gv"), caminho(nome));
        alterar(sql, nome);
    }
    db::Database::criar(caminho("sem_tabelas.gv"), Ligacao_BD)->Execute("CREATE TABLE notas (texto)");
    fs::copy_file(caminho(NOME_BASE_MESTRA), caminho("copia_mestra.gv"));
    const std::pair<std::string, std::string> nao_e_jogo{"O ficheiro escolhido não é um jogo do Golvantario, ou não pode ser aberto.",
                                                          "The chosen file is not a Golvantario game, or it cannot be opened."};
    const std::pair<std::string, std::string> mestra{"Esse ficheiro é a base de dados do programa e não pode ser usado como jogo.",
                                                     "That file is the program's own database and cannot be used as a saved game."};
    for (const char* lingua : {"P", "I"}) {
        Lingua = lingua;
        for (const char* nome : {"notas.gv", "vazio.gv", "sem_versao.gv", "sem_principal.gv", "sem_tabelas.gv", "copia_mestra.gv", NOME_BASE_MESTRA}) {
            SCOPED_TRACE(std::string(lingua) + " " + nome);
            const auto antes = teste::ler_bytes(caminho(nome));
            porta.mensagens.clear();
            EXPECT_EQ(carregar(nome), Resultado_Jogo::Recusado);
            ASSERT_EQ(porta.mensagens.size(), 1u);
            const auto& esperado = std::string(nome) == NOME_BASE_MESTRA ? mestra : nao_e_jogo;
            EXPECT_EQ(porta.mensagens[0].texto, Lingua == "P" ? esperado.first : esperado.second);
            EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
            EXPECT_EQ(teste::ler_bytes(caminho(nome)), antes);
            EXPECT_TRUE(!Base_Dados && !porta.ocupado);
        }
    }
}

} // namespace
