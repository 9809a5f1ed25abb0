// The manager's deals from the squad grid's player menu.

#include "desk/negocios.h"
#include "jogo_apoio.h"
#include "platform/texto.h"

using namespace gv;

namespace {

class Negocios : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        porta.mensagens.clear();
        jogador = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'md' LIMIT 1",
                                    {Clube_Treinador}).inteiro();
    }
    void mudar(const std::string& sets) {
        Base_Dados->Execute("UPDATE jogadores SET " + sets + " WHERE rowid = ?", {jogador});
    }
    long principal(const char* c) {
        return static_cast<long>(Base_Dados->valor(std::string("SELECT ") + c + " FROM principal").inteiro());
    }
    std::string equipa() { return Base_Dados->valor("SELECT equipa FROM jogadores WHERE rowid = ?", {jogador}).texto(); }
    long long jogador = 0;
};

TEST_F(Negocios, SellingAtTheValueInTheGrid) {
    mudar("preco = 250000, idade = 25");
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Vender_Jogador(jogador), Resultado_Negocio::Feito);
    ASSERT_EQ(porta.mensagens.size(), 2u);
    const auto& q = porta.mensagens[0].texto;
    EXPECT_EQ(q.rfind("O clube ", 0), 0u);
    EXPECT_NE(q.find("ª Div.), oferece 250,000.\nAceita ?"), std::string::npos) << q;
    EXPECT_EQ(porta.mensagens[0].botao_defeito, 0);
    EXPECT_EQ(porta.mensagens[1].texto.rfind("Jogador Vendido ao ", 0), 0u);
    EXPECT_NE(equipa(), Clube_Treinador);
    EXPECT_EQ(principal("d_venda_in"), 250000);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'V' AND valor = 250000"), 1);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes"), 1);
}

TEST_F(Negocios, TooYoungToSellAndNoChangesOnNo) {
    mudar("idade = 16");
    EXPECT_EQ(Vender_Jogador(jogador), Resultado_Negocio::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "Este jogador só pode ser vendido depois dos 17 anos.");
    mudar("idade = 22");
    porta.responder(Resposta::Nao);
    EXPECT_EQ(Vender_Jogador(jogador), Resultado_Negocio::Desistiu);
    EXPECT_EQ(equipa(), Clube_Treinador);
    EXPECT_EQ(principal("d_in"), 0);
}

TEST_F(Negocios, LendingFeesAndTheMatchdayLimit) {
    mudar("idade = 16, forca = 30, preco = 900000");
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Emprestar_Jogador(jogador), Resultado_Negocio::Feito);
    EXPECT_NE(porta.mensagens[0].texto.find("oferece 3,000."), std::string::npos) << porta.mensagens[0].texto;
    EXPECT_EQ(principal("d_emp_in"), 3000);
    EXPECT_EQ(contar("SELECT emprestado FROM jogadores WHERE rowid = ?", {jogador}), 1);
    EXPECT_EQ(Base_Dados->valor("SELECT clube_origem FROM jogadores WHERE rowid = ?", {jogador}).texto(), Clube_Treinador);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'E-' AND valor = 3000"), 1);
    Jornada_Actual = 25;
    long long outro = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa = ? AND pos = 'df' LIMIT 1",
                                        {Clube_Treinador}).inteiro();
    Lingua = "I";
    EXPECT_EQ(Emprestar_Jogador(outro), Resultado_Negocio::Recusado);
    EXPECT_EQ(porta.mensagens.back().texto, "You only can loan players on the next year.");
}

TEST_F(Negocios, RenewalTermsByAge) {
    auto jovem = Termos_De_Renovacao(23, 10000, 1000000);
    EXPECT_DOUBLE_EQ(jovem.ordenado, 15000) << "1.5 % of the value is the floor";
    EXPECT_EQ(jovem.epocas, 3);
    EXPECT_EQ(jovem.custo, 75000);
    auto veterano = Termos_De_Renovacao(31, 50000, 1000000);
    EXPECT_DOUBLE_EQ(veterano.ordenado, 45000);
    EXPECT_EQ(veterano.epocas, 4);
    auto meio = Termos_De_Renovacao(26, 20000, 100000);
    EXPECT_DOUBLE_EQ(meio.ordenado, 22400);
}

TEST_F(Negocios, RenewalWritesTheNewTermsAndPaysTheCostAsWages) {
    mudar("idade = 23, ordenado = 10000, preco = 1000000, contrato = 1");
    porta.responder(Resposta::Sim);
    ASSERT_EQ(Renovar_Contrato(jogador), Resultado_Negocio::Feito);
    EXPECT_NE(porta.mensagens[0].texto.find(" pretende 15,000 de Ordenado e um Contrato de 3 épocas.\nCusto de Renovação : 75,000\nAceita ?"),
              std::string::npos)
        << porta.mensagens[0].texto;
    EXPECT_EQ(contar("SELECT ordenado FROM jogadores WHERE rowid = ?", {jogador}), 15000);
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE rowid = ?", {jogador}), 3);
    EXPECT_EQ(principal("d_Ord"), 75000);
    EXPECT_EQ(principal("d_out"), 75000);
}

TEST_F(Negocios, BuyingTheLoanedInPlayer) {
    mudar("emprestado = 1, clube_origem = 'Dono FC', contrato = 2, preco = 400000");
    ASSERT_EQ(Comprar_Jogador_Emprestado(jogador), Resultado_Negocio::Feito);
    EXPECT_EQ(porta.mensagens.back().texto, "Jogador Comprado.");
    EXPECT_EQ(contar("SELECT contrato FROM jogadores WHERE rowid = ?", {jogador}), 3);
    EXPECT_EQ(contar("SELECT emprestado FROM jogadores WHERE rowid = ?", {jogador}), 0);
    EXPECT_EQ(Base_Dados->valor("SELECT clube_origem FROM jogadores WHERE rowid = ?", {jogador}).texto(), "") << "the upkeep after the next league round writes the 0";
    EXPECT_EQ(principal("d_venda_out"), 400000);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias WHERE Tipo = 'C' AND valor = 400000"), 1);
}

TEST_F(Negocios, AnotherClubsPlayerCannotBeDealtWith) {
    long long alheio = Base_Dados->valor("SELECT rowid FROM jogadores WHERE equipa <> ? LIMIT 1", {Clube_Treinador}).inteiro();
    EXPECT_EQ(Vender_Jogador(alheio), Resultado_Negocio::Falhou);
    EXPECT_EQ(Comprar_Jogador_Emprestado(alheio), Resultado_Negocio::Falhou);
    EXPECT_EQ(principal("d_in") + principal("d_out"), 0);
}

} // namespace
