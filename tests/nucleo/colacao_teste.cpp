// Names sort as a person expects: no regard to case or accents.

#include "apoio.h"

using namespace gv;

namespace {

TEST(Colacao, FoldsCaseAndAccents) {
    EXPECT_EQ(db::comparar_nomes("Académico", "ACADEMICO"), 0);
    EXPECT_EQ(db::comparar_nomes("São João", "sao joao"), 0);
    EXPECT_EQ(db::comparar_nomes("Straße", "strasse"), 0);
    EXPECT_EQ(db::comparar_nomes("Łódź", "lodz"), 0);
    EXPECT_LT(db::comparar_nomes("Águia", "Braga"), 0);
    EXPECT_GT(db::comparar_nomes("zebra", "Ébano"), 0);
    EXPECT_LT(db::comparar_nomes("Vila", "Vila Nova"), 0);
}

TEST(Colacao, BrokenUtf8DoesNotStopTheComparison) {
    std::string partido = "Vil\xC3";  // a lead byte with nothing after it
    EXPECT_NE(db::comparar_nomes(partido, "Vila"), 0);
    EXPECT_EQ(db::comparar_nomes(partido, partido), 0);
}

class ColacaoNaBase : public teste::Pasta_Temporaria {};

TEST_F(ColacaoNaBase, OrderByAndEqualityUseThePersonsOrder) {
    auto d = nova_base("jogo.gv");
    for (const char* c : {"Vitória", "académico", "Benfeitoria", "Águias do Sul", "ÉVORA", "atlético", "Braga Nova"})
        d->Execute("INSERT INTO clubes (clube, div) VALUES (?, 1)", {c});
    std::vector<std::string> ordem;
    auto rs = d->OpenRecordset("SELECT clube FROM clubes ORDER BY clube");
    for (; !rs.Eof(); rs.MoveNext()) ordem.push_back(rs["clube"].texto());
    EXPECT_EQ(ordem, (std::vector<std::string>{"académico", "Águias do Sul", "atlético", "Benfeitoria", "Braga Nova",
                                               "ÉVORA", "Vitória"}));
    EXPECT_EQ(d->valor("SELECT count(*) FROM clubes WHERE clube = ?", {"Evora"}).int32(), 1);
    EXPECT_EQ(d->valor("SELECT count(*) FROM clubes WHERE clube > ?", {"b"}).int32(), 4);
}

} // namespace
