// Renaming clubs and editing players in the master database's seed tables.

#include "editor/editor.h"
#include "jogo_apoio.h"

using namespace gv;

namespace {

class Editor : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        Base_Dados = db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD);
        clubes = Ler_Clubes_Editor("pt");
    }
    int em(const std::string& tabela, const std::string& coluna, const std::string& valor) {
        return contar("SELECT count(*) FROM " + tabela + " WHERE " + coluna + " = ?", {valor});
    }
    std::vector<Clube_Editor> clubes;
};

TEST_F(Editor, ClubsAndPlayersAreListedInOrder) {
    ASSERT_EQ(clubes.size(), 54u);
    for (std::size_t i = 1; i < clubes.size(); ++i) EXPECT_LT(db::comparar_nomes(clubes[i - 1].clube, clubes[i].clube), 0);
    auto jogadores = Ler_Jogadores_Editor("pt", clubes[0].clube);
    ASSERT_FALSE(jogadores.empty());
    EXPECT_EQ(jogadores.front().pos, "gk");
    EXPECT_EQ(jogadores.back().pos, "av");
    EXPECT_THROW(Ler_Clubes_Editor("xx; DROP TABLE clubes_pt"), db::Erro_BD) << "only known sets reach a table name";
}

TEST_F(Editor, RenameRewritesLeagueCupAndPlayersOfThatSetOnly) {
    const std::string antigo = clubes[3].clube;
    int jogadores = em("jogadores_pt", "equipa", antigo);
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, "  Nova Terra FC  "), Resultado_Edicao::Feito);
    EXPECT_EQ(em("clubes_pt", "clube", "Nova Terra FC"), 1);
    EXPECT_EQ(em("Clubes_Taca_pt", "clube", "Nova Terra FC"), 1);
    EXPECT_EQ(em("jogadores_pt", "equipa", "Nova Terra FC"), jogadores);
    EXPECT_EQ(em("clubes_pt", "clube", antigo), 0);
    EXPECT_EQ(porta.mensagens.back().texto, "Nome da Equipa Alterada com Sucesso.");
}

TEST_F(Editor, RenameRefusals) {
    const std::string antigo = clubes[0].clube;
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, antigo), Resultado_Edicao::Nada);
    EXPECT_TRUE(porta.mensagens.empty());
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, "   "), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "Tem que inserir um Nome de uma Equipa.");
    Lingua = "I";
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, clubes[1].clube), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "There is a Team with the Name you choose. Choose another Name.");
    // Its own name in other letters counts as taken.
    std::string outra_caixa = antigo;
    for (auto& c : outra_caixa) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, outra_caixa), Resultado_Edicao::Recusado);
    // A cup entrant from outside the league would become a second club of that name.
    std::string so_taca = Base_Dados->valor("SELECT clube FROM Clubes_Taca_pt WHERE clube NOT IN (SELECT clube FROM clubes_pt)").texto();
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, so_taca), Resultado_Edicao::Recusado);
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, "D'Arcy"), Resultado_Edicao::Recusado) << "refused characters";
    EXPECT_EQ(em("clubes_pt", "clube", antigo), 1);
    // A name held only in another set is free here.
    std::string ingles = Base_Dados->valor("SELECT clube FROM clubes_en WHERE clube NOT IN (SELECT clube FROM Clubes_Taca_pt) LIMIT 1").texto();
    EXPECT_EQ(Actualizar_Dados_Equipa("pt", antigo, ingles), Resultado_Edicao::Feito) << ingles << ": " << porta.mensagens.back().texto;
}

TEST_F(Editor, PlayerEdits) {
    const std::string clube = clubes[0].clube;
    auto jogadores = Ler_Jogadores_Editor("pt", clube);
    const auto df = *std::find_if(jogadores.begin(), jogadores.end(), [](auto& j) { return j.pos == "df"; });
    const auto md = *std::find_if(jogadores.begin(), jogadores.end(), [](auto& j) { return j.pos == "md"; });
    const Dados_Jogador carregado{df.nome, std::to_string(df.idade), "DF"};
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, carregado, carregado), Resultado_Edicao::Nada);
    for (const char* idade : {"17", "38"})
        EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, {df.nome, idade, "DF"}, carregado), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "A idade do Jogador terá que ser < 38 ou >=18.");
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, {"  ", "20", "DF"}, carregado), Resultado_Edicao::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "Tem que inserir o Nome do Jogador.");
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, {df.nome, "", "DF"}, carregado), Resultado_Edicao::Recusado);
    // A teammate's name in his position is taken; only the age changing is not.
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, {md.nome, "25", "MD"}, carregado), Resultado_Edicao::Recusado);
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, {df.nome, "37", "DF"}, carregado), Resultado_Edicao::Feito);
    EXPECT_EQ(contar("SELECT idade FROM jogadores_pt WHERE rowid = ?", {df.rowid}), 37);
    // A defender made a midfielder, renamed, with an apostrophe-free name.
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, {"Novo Médio", "18", "MD"}, carregado), Resultado_Edicao::Feito);
    auto rs = Base_Dados->OpenRecordset("SELECT nome, idade, pos FROM jogadores_pt WHERE rowid = ?", {df.rowid});
    EXPECT_EQ(rs["nome"].texto(), "Novo Médio");
    EXPECT_EQ(rs["pos"].texto(), "md");
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, df.rowid, {"O'Brien", "20", "MD"}, carregado), Resultado_Edicao::Recusado);
    EXPECT_EQ(Actualizar_Dados_Jogador("pt", clube, 0, {"Alguém", "20", "MD"}, carregado), Resultado_Edicao::Nada)
        << "no player selected";
}

} // namespace
