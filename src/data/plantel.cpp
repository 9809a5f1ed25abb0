#include "data/plantel.h"

#include "data/esquema.h"
#include "data/estado.h"
#include "data/tacticas.h"

namespace gv {

namespace {

Linha_Plantel ler(const db::Recordset& rs, Seccao_Plantel s) {
    Linha_Plantel l;
    l.rowid = rs.rowid();
    l.seccao = s;
    l.pos = rs["pos"].texto();
    l.nome = rs["nome"].texto();
    l.idade = rs["idade"].int32();
    l.forca = rs["forca"].int32();
    l.contrato = rs["contrato"].int32();
    l.ordenado = rs["ordenado"].int32();
    l.preco = rs["preco"].int32();
    l.golos = rs["golos"].int32();
    l.emprestado = rs["emprestado"].int32() == 1;
    l.lesionado = rs["lesionado"].int32() == 1;
    l.lesionado_jor = rs["lesionado_jor"].int32();
    return l;
}

constexpr const char* Colunas = "SELECT rowid, pos, nome, idade, forca, contrato, ordenado, preco, golos, emprestado, "
                                "lesionado, lesionado_jor FROM jogadores ";

} // namespace

std::vector<Linha_Plantel> Linhas_Plantel(const std::string& formacao) {
    if (!Base_Dados) return {};
    auto& d = *Base_Dados;
    const auto f = ler_formacao(formacao);
    const int na_equipa[4] = {1, f.defesas, f.medios, f.avancados};
    std::vector<Linha_Plantel> equipa, reservas, resto;
    for (int p = 0; p < 4; ++p) {
        auto rs = d.OpenRecordset(std::string(Colunas) +
                                      "WHERE equipa = ? AND pos = ? AND joga <> 3 AND (clube_origem IS NULL OR clube_origem <> ?) "
                                      "ORDER BY forca DESC, rowid",
                                  {Clube_Treinador, Codigos_Posicao[p], Clube_Treinador});
        int n = 0;
        for (; !rs.Eof(); rs.MoveNext(), ++n) {
            if (n < na_equipa[p]) {
                auto l = ler(rs, Seccao_Plantel::Equipa);
                l.marca = JOGA_TITULAR;
                equipa.push_back(l);
            } else {
                auto l = ler(rs, Seccao_Plantel::Reservas);
                l.marca = n == na_equipa[p] ? JOGA_SUPLENTE : JOGA_NAO;
                reservas.push_back(l);
            }
        }
    }
    for (const char* pos : Codigos_Posicao) {
        auto rs = d.OpenRecordset(std::string(Colunas) +
                                      "WHERE equipa = ? AND pos = ? AND joga = 3 AND (clube_origem IS NULL OR clube_origem <> ?) "
                                      "ORDER BY forca DESC, rowid",
                                  {Clube_Treinador, pos, Clube_Treinador});
        for (; !rs.Eof(); rs.MoveNext()) resto.push_back(ler(rs, Seccao_Plantel::Indisponiveis));
    }
    for (const char* pos : Codigos_Posicao) {
        auto rs = d.OpenRecordset(std::string(Colunas) + "WHERE clube_origem = ? AND pos = ? ORDER BY forca DESC, rowid",
                                  {Clube_Treinador, pos});
        for (; !rs.Eof(); rs.MoveNext()) resto.push_back(ler(rs, Seccao_Plantel::Emprestados));
    }
    equipa.insert(equipa.end(), reservas.begin(), reservas.end());
    equipa.insert(equipa.end(), resto.begin(), resto.end());
    return equipa;
}

} // namespace gv
