// The shared counters and the compaction.

#include "apoio.h"
#include "data/consultas.h"
#include "platform/falhas.h"

using namespace gv;

namespace {

class Consultas : public teste::Pasta_Temporaria {
protected:
    void SetUp() override {
        Pasta_Temporaria::SetUp();
        Base_Dados = nova_base("jogo.gv");
        Ficheiro_Jogo = caminho("jogo.gv");
    }
    void TearDown() override {
        desarmar_falhas();
        Pasta_Temporaria::TearDown();
    }
    void tres_clubes() {
        for (auto [nome, pontos] : {std::pair{"Vilar", 3}, {"Ribeira", 0}, {"Monte", 4}})
            Base_Dados->Execute("INSERT INTO clubes (clube, div, pontos) VALUES (?, 1, ?)", {nome, pontos});
    }
};

TEST_F(Consultas, ContarLinhasCountsAndLeavesTheSharedTextAlone) {
    Texto_SQL = "SELECT * FROM clubes;";
    EXPECT_EQ(Contar_Linhas(Texto_SQL), 0);
    tres_clubes();
    EXPECT_EQ(Contar_Linhas(Texto_SQL), 3);
    EXPECT_EQ(Contar_Linhas("SELECT * FROM clubes WHERE pontos > ?", {2}), 2);
    EXPECT_EQ(Texto_SQL, "SELECT * FROM clubes;");
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Consultas, ContarLinhasReportsAFailedQueryAndAnswersZero) {
    EXPECT_EQ(Contar_Linhas("SELECT * FROM tabela_inexistente"), 0);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    const auto& m = porta.mensagens[0];
    // The engine's number; its words and the statement go to the error log.
    EXPECT_EQ(m.texto, "Erro Nº : 1 - Descrição : Ocorreu um erro inesperado.");
    EXPECT_EQ(m.icone, Icone::Exclamacao);
    EXPECT_EQ(m.botoes, Botoes::Ok);
    Lingua = "I";
    EXPECT_EQ(Contar_Linhas("SELECT nada FROM clubes"), 0);
    EXPECT_EQ(porta.mensagens.back().texto, "Error Nº : 1 - Description : An unexpected error occurred.");
}

TEST_F(Consultas, ContarLinhasWithNoOpenDatabaseReportsAndAnswersZero) {
    Base_Dados.reset();
    EXPECT_EQ(Contar_Linhas("SELECT * FROM clubes"), 0);
    EXPECT_EQ(porta.mensagens.size(), 1u);
}

TEST_F(Consultas, LerSomaOfNullZeroCountAndFailure) {
    EXPECT_EQ(Ler_Soma("SELECT sum(pontos) AS soma FROM clubes"), 0) << "sum over no rows is Null";
    tres_clubes();
    EXPECT_EQ(Ler_Soma("SELECT sum(pontos) AS soma FROM clubes WHERE pontos = 0"), 0);
    EXPECT_EQ(Ler_Soma("SELECT count(clube) AS soma FROM clubes"), 3);
    EXPECT_EQ(Ler_Soma("SELECT sum(pontos) AS soma FROM clubes WHERE div = ?", {1}), 7);
    EXPECT_EQ(Ler_Soma("SELECT 2.5 AS soma FROM clubes"), 2) << "halves go to the even neighbour";
    EXPECT_EQ(Ler_Soma("SELECT clube AS soma FROM clubes WHERE clube = 'Monte'"), 0);
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Ler_Soma("SELECT sum(x) AS soma FROM nada"), 0);
    EXPECT_EQ(porta.mensagens.size(), 1u);
}

TEST_F(Consultas, CompactionShrinksTheFileInPlaceAndKeepsItsContents) {
    tres_clubes();
    for (int i = 0; i < 3000; ++i)
        Base_Dados->Execute("INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES (?, 'Vilar', 0, 1)", {i});
    Base_Dados->Execute("DELETE FROM Historico_Jornadas");
    auto tamanho = std::filesystem::file_size(caminho("jogo.gv"));
    Compactar_Base_Dados(*Base_Dados);
    EXPECT_LT(std::filesystem::file_size(caminho("jogo.gv")), tamanho);
    Base_Dados.reset();
    auto d = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
    EXPECT_EQ(d->valor("SELECT group_concat(clube) FROM (SELECT clube FROM clubes ORDER BY clube)").texto(),
              "Monte,Ribeira,Vilar");
    // Defaults and the name order survive the rewrite.
    d->Execute("INSERT INTO jogadores (nome) VALUES ('Zé')");
    EXPECT_EQ(d->valor("SELECT clube_origem FROM jogadores").texto(), "0");
    EXPECT_EQ(d->valor("SELECT count(*) FROM clubes WHERE clube = 'VILAR'").int32(), 1);
}

TEST_F(Consultas, RenameIntoAMissingFolderFailsAndKeepsTheSource) {
    {
        std::ofstream f(caminho("origem.tmp"));
        f << "dados";
    }
    EXPECT_THROW(substituir_ficheiro(caminho("origem.tmp"), caminho("nao/existe/destino.gv")), db::Erro_BD);
    EXPECT_EQ(teste::ler_bytes(caminho("origem.tmp")), "dados");
}

} // namespace
