// New game and load game through the scripted port.

#include "data/consultas.h"
#include "jogo_apoio.h"
#include "platform/falhas.h"

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
    // A file that must come through a refused new game unchanged.
    std::string ficheiro_existente(const std::string& nome, const std::string& conteudo) {
        std::ofstream(caminho(nome)) << conteudo;
        return conteudo;
    }
    std::vector<std::string> restos() {
        std::vector<std::string> r;
        for (auto& e : fs::directory_iterator(pasta)) {
            auto n = e.path().filename().string();
            // The open game's write-ahead log and its index go when it closes.
            if (Base_Dados && (n == "jogo.gv-wal" || n == "jogo.gv-shm")) continue;
            if (n != NOME_BASE_MESTRA && n != "jogo.gv" && n != "antigo.gv") r.push_back(n);
        }
        return r;
    }
};

TEST_F(NovoJogo, BuildsACompleteGame) {
    auto e = escolhas("pt");
    ASSERT_EQ(novo_jogo("jogo.gv", e), Resultado_Jogo::Aberto);
    ASSERT_EQ(porta.pedidos_ficheiro.size(), 1u);
    EXPECT_TRUE(porta.pedidos_ficheiro[0].guardar);
    EXPECT_EQ(porta.pedidos_ficheiro[0].titulo, "Qual o nome do novo Ficheiro?");
    EXPECT_EQ(porta.pedidos_ficheiro[0].filtro, "Jogos Golvantario (*.gv)|*.gv");
    EXPECT_EQ(porta.pedidos_ficheiro[0].pasta_inicial, pasta.string());
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Ficheiro_Jogo, caminho("jogo.gv"));
    EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 918);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes"), 54);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca"), 64);
    EXPECT_EQ(contar("SELECT count(*) FROM jogos_taca"), 32);
    EXPECT_EQ(contar("SELECT count(*) FROM clubes_taca_qualif"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE preco <= 0 OR ordenado <> preco / 100"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE emprestado <> 0 OR clube_origem <> '0' OR golos <> 0"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM versao WHERE versao = 99 AND rev = 6"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM versao"), 1);
    for (const char* cc : Codigos_Pais)
        for (const auto& t : tabelas_semente(cc)) EXPECT_FALSE(Base_Dados->tabela_existe(t.nome)) << t.nome;
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {e.clube}), 11);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 2", {e.clube}), 4);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa <> ? AND joga <> 0", {e.clube}), 0);

    auto p = Base_Dados->OpenRecordset("SELECT * FROM principal");
    ASSERT_EQ(p.RecordCount(), 1);
    EXPECT_EQ(p["nome"].texto(), "Manuel Tester");
    EXPECT_EQ(p["equipa"].texto(), e.clube);
    EXPECT_EQ(p["Jornada"].int32(), 1);
    EXPECT_EQ(p["Epoca"].int32(), 1999);
    EXPECT_EQ(p["taca"].int32(), 1);
    EXPECT_EQ(p["contrato"].int32(), 1);
    EXPECT_EQ(p["sit"].int32(), 20);
    EXPECT_EQ(p["T_contrato"].int32(), 2);
    EXPECT_EQ(p["d_total"].int32(), 2000000);
    EXPECT_EQ(p["v"].int32() + p["e"].int32() + p["d"].int32() + p["gc"].int32() + p["pc"].int32(), 0);
    EXPECT_EQ(p["d_in"].int32() + p["d_out"].int32() + p["cont"].int32(), 0);
    EXPECT_EQ(Nome_Treinador, "Manuel Tester");
    EXPECT_EQ(Clube_Treinador, e.clube);
    EXPECT_EQ(Jornada_Actual, 1);
    EXPECT_EQ(Epoca_Actual, 1999);
    EXPECT_EQ(Eliminatoria_Taca, 1);
    EXPECT_EQ(Jogo_Real, 1);
    EXPECT_TRUE(restos().empty()) << restos().front();
}

TEST_F(NovoJogo, EveryClubSetMakesAGame) {
    for (const char* cc : Codigos_Pais) {
        auto e = escolhas(cc, Ler_Clubes_Pais(cc)[2].back());
        e.dinheiro = "5,000,000";
        e.jogo_real = false;
        Jogo_Real = 1;  // left from an earlier game
        ASSERT_EQ(novo_jogo(std::string(cc) + ".gv", e), Resultado_Jogo::Aberto) << cc;
        EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 918) << cc;
        EXPECT_EQ(contar("SELECT d_total FROM principal"), 5000000);
        EXPECT_EQ(contar("SELECT contrato FROM principal"), 0);
        EXPECT_EQ(Jogo_Real, 0) << "the option is set both ways";
        EXPECT_EQ(contar("SELECT div FROM clubes WHERE clube = ?", {e.clube}), 3);
        fechar();
    }
}

TEST_F(NovoJogo, StartingMoneyIsTheLeadingNumberInMillions) {
    EXPECT_EQ(Dinheiro_Inicial("5,000,000"), 5000000);
    EXPECT_EQ(Dinheiro_Inicial("2,000,000"), 2000000);
    EXPECT_EQ(Dinheiro_Inicial("1,000,000"), 1000000);
    EXPECT_EQ(Dinheiro_Inicial(""), 0);
}

TEST_F(NovoJogo, EmptyNameStopsBeforeAnyDialog) {
    auto e = escolhas();
    e.nome = "";
    Lingua = "I";
    EXPECT_EQ(Novo_Jogo(e), Resultado_Jogo::Nome_Em_Falta);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "You must put your name.");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_TRUE(porta.pedidos_ficheiro.empty());
    e.nome = "   ";
    EXPECT_EQ(novo_jogo("jogo.gv", e), Resultado_Jogo::Aberto) << "blanks are a name";
}

TEST_F(NovoJogo, CancelledDialogLeavesNoTrace) {
    porta.escolher(std::nullopt);
    EXPECT_EQ(Novo_Jogo(escolhas()), Resultado_Jogo::Cancelado);
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_TRUE(restos().empty());
    EXPECT_FALSE(Base_Dados);
}

TEST_F(NovoJogo, ExistingFileIsReplacedOnlyOnYes) {
    auto antes = ficheiro_existente("antigo.gv", "um jogo antigo");
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
}

TEST_F(NovoJogo, TheMasterDatabaseCannotBecomeAGame) {
    auto antes = teste::ler_bytes(caminho(NOME_BASE_MESTRA));
    EXPECT_EQ(novo_jogo(NOME_BASE_MESTRA, escolhas()), Resultado_Jogo::Recusado);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_EQ(teste::ler_bytes(caminho(NOME_BASE_MESTRA)), antes);
    // Reached through another spelling of the same path, too.
    porta.escolher(Ficheiro_Escolhido{(pasta / "." / NOME_BASE_MESTRA).string(), NOME_BASE_MESTRA});
    EXPECT_EQ(Novo_Jogo(escolhas()), Resultado_Jogo::Recusado);
    EXPECT_EQ(teste::ler_bytes(caminho(NOME_BASE_MESTRA)), antes);
}

TEST_F(NovoJogo, AFailureAtAnyStepLeavesTheOldFileAsItWas) {
    for (const char* ponto : {"novo_jogo.copia", "compactar", "novo_jogo.semeado", "novo_jogo.antes_de_gravar"}) {
        auto antes = ficheiro_existente("antigo.gv", std::string("o jogo de antes de ") + ponto);
        porta.mensagens.clear();
        armar_falha(ponto);
        porta.responder(Resposta::Sim);
        EXPECT_EQ(novo_jogo("antigo.gv", escolhas()), Resultado_Jogo::Recusado) << ponto;
        EXPECT_EQ(teste::ler_bytes(caminho("antigo.gv")), antes) << ponto;
        ASSERT_EQ(porta.mensagens.size(), 2u) << ponto;  // the question, then the failure
        EXPECT_EQ(porta.mensagens[1].texto.rfind("Não foi possível criar o novo jogo.", 0), 0u);
        EXPECT_FALSE(Base_Dados) << ponto;
        EXPECT_TRUE(restos().empty()) << ponto << ": " << restos().front();
        EXPECT_FALSE(porta.ocupado) << "the busy pointer is back to the arrow";
        desarmar_falhas();
    }
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
    void alterar(const std::string& sql) {
        auto d = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        d->Execute(sql);
    }
};

TEST_F(CarregarJogo, RestoresTheGameState) {
    alterar("UPDATE principal SET Jornada = 12, Epoca = 2001, taca = 3, contrato = 1");
    Jogo_Real = 0;
    ASSERT_EQ(carregar("jogo.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(porta.pedidos_ficheiro.back().titulo, "Abrir Ficheiro Existente");
    EXPECT_FALSE(porta.pedidos_ficheiro.back().guardar);
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Nome_Treinador, "Manuel Tester");
    EXPECT_FALSE(Clube_Treinador.empty());
    EXPECT_EQ(Jornada_Actual, 12);
    EXPECT_EQ(Epoca_Actual, 2001);
    EXPECT_EQ(Eliminatoria_Taca, 3);
    EXPECT_EQ(Jogo_Real, 1);
    EXPECT_TRUE(Vencedor_Taca.empty()) << "mid-cup";
    EXPECT_EQ(Ficheiro_Jogo, caminho("jogo.gv"));
    EXPECT_EQ(contar("SELECT count(*) FROM jogos"), 918);
    EXPECT_FALSE(porta.ocupado);
}

TEST_F(CarregarJogo, RealGameOffAndDecidedCupAreRestoredEachTime) {
    alterar("UPDATE principal SET contrato = 0");
    alterar("INSERT INTO clubes_taca_qualif (clube) VALUES ('Académico Fontelada')");
    Jogo_Real = 1;
    Vencedor_Taca = "de outro jogo";
    ASSERT_EQ(carregar("jogo.gv"), Resultado_Jogo::Aberto);
    EXPECT_EQ(Jogo_Real, 0);
    EXPECT_EQ(Vencedor_Taca, "Académico Fontelada");
}

TEST_F(CarregarJogo, OtherVersionGivesTheThreeLineMessageAndTheFileStaysAsItWas) {
    alterar("UPDATE versao SET rev = 5");
    auto antes = teste::ler_bytes(caminho("jogo.gv"));
    EXPECT_EQ(carregar("jogo.gv"), Resultado_Jogo::Recusado);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto,
              "Versões dos Jogos Incompativeis.\nVersão do Golvantario: 99.6\nVersão do jogo.gv: 99.5");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
    EXPECT_FALSE(Base_Dados) << "the database is closed";
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), antes);
    Lingua = "I";
    EXPECT_EQ(carregar("jogo.gv"), Resultado_Jogo::Recusado);
    EXPECT_EQ(porta.mensagens[1].texto, "Wrong Game Version.\nGolvantario version: 99.6\njogo.gv version: 99.5");
}

// Every file that is no game is refused with a word, in the game's
// language and free of the engine's text, and stays as it was.
TEST_F(CarregarJogo, EveryRefusedFileSaysWhyInBothLanguagesAndStaysUnchanged) {
    const auto copiar_jogo = [&](const std::string& nome, const std::string& sql) {
        fs::copy_file(caminho("jogo.gv"), caminho(nome));
        auto d = db::Database::abrir(caminho(nome), Ligacao_BD);
        d->Execute(sql);
    };
    ficheiro_existente("notas.gv", "Isto é uma lista de compras, não um jogo.\n");
    ficheiro_existente("vazio.gv", "");
    copiar_jogo("sem_versao.gv", "DROP TABLE versao");
    copiar_jogo("sem_principal.gv", "DELETE FROM principal");
    db::Database::criar(caminho("sem_tabelas.gv"), Ligacao_BD)->Execute("CREATE TABLE notas (texto)");
    fs::copy_file(caminho(NOME_BASE_MESTRA), caminho("copia_mestra.gv"));
    const std::pair<std::string, std::string> nao_e_jogo{
        "O ficheiro escolhido não é um jogo do Golvantario, ou não pode ser aberto.",
        "The chosen file is not a Golvantario game, or it cannot be opened."};
    const std::pair<std::string, std::string> mestra{
        "Esse ficheiro é a base de dados do programa e não pode ser usado como jogo.",
        "That file is the program's own database and cannot be used as a saved game."};
    for (const char* lingua : {"P", "I"}) {
        Lingua = lingua;
        for (const char* nome : {"notas.gv", "vazio.gv", "sem_versao.gv", "sem_principal.gv", "sem_tabelas.gv",
                                 "copia_mestra.gv", NOME_BASE_MESTRA}) {
            SCOPED_TRACE(std::string(lingua) + " " + nome);
            const auto antes = teste::ler_bytes(caminho(nome));
            porta.mensagens.clear();
            EXPECT_EQ(carregar(nome), Resultado_Jogo::Recusado);
            ASSERT_EQ(porta.mensagens.size(), 1u);
            const auto& esperado = std::string(nome) == NOME_BASE_MESTRA ? mestra : nao_e_jogo;
            EXPECT_EQ(porta.mensagens[0].texto, Lingua == "P" ? esperado.first : esperado.second);
            EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
            EXPECT_EQ(teste::ler_bytes(caminho(nome)), antes);
            EXPECT_FALSE(Base_Dados);
            EXPECT_FALSE(porta.ocupado);
        }
    }
}

TEST_F(CarregarJogo, MissingFileAndCancel) {
    Lingua = "I";
    EXPECT_EQ(carregar("nada.gv"), Resultado_Jogo::Recusado);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "This file doesn't exists.");
    EXPECT_FALSE(fs::exists(caminho("nada.gv")));
    porta.escolher(std::nullopt);
    EXPECT_EQ(Carregar_Jogo(), Resultado_Jogo::Cancelado);
    EXPECT_EQ(porta.mensagens.size(), 1u);
}

TEST_F(CarregarJogo, EntryListsHoldExactlyTheRowsOfTheChosenSet) {
    for (const char* cc : Codigos_Pais) {
        auto listas = Ler_Clubes_Pais(cc);
        for (int div = 0; div < 3; ++div) {
            EXPECT_EQ(listas[div].size(), 18u) << cc;
            EXPECT_TRUE(std::is_sorted(listas[div].begin(), listas[div].end(),
                                       [](auto& a, auto& b) { return db::comparar_nomes(a, b) < 0; }));
        }
    }
    EXPECT_TRUE(Ler_Clubes_Pais("xx")[0].empty());
}

} // namespace
