#include "data/consultas.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "data/erros.h"
#include "data/estado.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"

namespace fs = std::filesystem;

namespace gv {

namespace {

void mostrar_erro(const db::Erro_BD& e) { ui().aviso(Texto_Erro_Numerado(e), Icone::Exclamacao); }

void sincronizar(const std::string& caminho, bool pasta) {
    int fd = ::open(caminho.c_str(), pasta ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int Contar_Linhas(const std::string& sql, const db::Parametros& p) {
    try {
        if (!Base_Dados || !Base_Dados->aberta())
            throw db::Erro_BD(db::ERRO_SEM_BASE, "Não há base de dados aberta");
        std::string corpo = sql;
        while (!corpo.empty() && (corpo.back() == ';' || std::isspace(static_cast<unsigned char>(corpo.back()))))
            corpo.pop_back();
        return Base_Dados->valor("SELECT count(*) FROM (" + corpo + ")", p).int32();
    } catch (const db::Erro_BD& e) {
        mostrar_erro(e);
        return 0;
    }
}

int Ler_Soma(const std::string& sql, const db::Parametros& p) {
    // One read answers both questions: no row, or a Null or 0 `soma`, is 0.
    try {
        if (!Base_Dados || !Base_Dados->aberta())
            throw db::Erro_BD(db::ERRO_SEM_BASE, "Não há base de dados aberta");
        auto rs = Base_Dados->OpenRecordset(sql, p);
        if (rs.Eof()) return 0;
        return rs["soma"].int32();
    } catch (const db::Erro_BD& e) {
        mostrar_erro(e);
        return 0;
    }
}

void substituir_ficheiro(const std::string& origem, const std::string& destino) {
    std::error_code ec;
    // A journal left beside destino belongs to the file being replaced and
    // would be played back onto the new one: it is set aside first, put back
    // if the replacement fails and removed once it is done.
    std::vector<std::pair<std::string, std::string>> postos;
    for (const char* sufixo : {"-journal", "-wal"}) {
        const std::string diario = destino + sufixo, posto = diario + ".gvantigo";
        if (!fs::exists(diario, ec)) continue;
        fs::remove(posto, ec);
        fs::rename(diario, posto, ec);
        if (ec) break;
        postos.emplace_back(diario, posto);
    }
    if (!ec) fs::rename(origem, destino, ec);
    if (ec == std::errc::cross_device_link) {
        // Copy beside the destination first, then rename there.
        std::string ao_lado = destino + ".gvnovo";
        fs::remove(ao_lado, ec);
        fs::copy_file(origem, ao_lado, ec);
        if (!ec) {
            sincronizar(ao_lado, false);
            fs::rename(ao_lado, destino, ec);
        }
        if (ec) {
            std::error_code ignorar;
            fs::remove(ao_lado, ignorar);
        } else {
            fs::remove(origem, ec);
            ec.clear();
        }
    }
    if (ec) {
        std::error_code ignorar;
        for (const auto& [diario, posto] : postos) fs::rename(posto, diario, ignorar);
        throw db::Erro_BD(db::ERRO_FICHEIRO, "Não foi possível substituir " + destino + ": " + ec.message(),
                          db::tipo_do_sistema(ec));
    }
    for (const auto& [diario, posto] : postos) fs::remove(posto, ec);
    sincronizar(fs::path(destino).parent_path().empty() ? "." : fs::path(destino).parent_path().string(), true);
}

void remover_com_diario(const std::string& caminho) {
    std::error_code ec;
    for (const char* sufixo : {"", "-journal", "-wal", "-shm"}) fs::remove(caminho + sufixo, ec);
}

void Fechar_Base_Dados() {
    if (!Base_Dados) return;
    const std::string caminho = Base_Dados->caminho();
    const bool inteiro = Base_Dados->Close();
    Base_Dados.reset();
    if (inteiro) return;
    const std::string log = std::filesystem::path(caminho + "-wal").filename().string();
    ui().aviso(ingles() ? "The game is saved, but its last part was left in the file \"" + log +
                              "\" beside it. Keep the two files together: the game is whole again when it is "
                              "next opened."
                        : "O jogo está gravado, mas a última parte ficou no ficheiro \"" + log +
                              "\" ao lado dele. Mantenha os dois ficheiros juntos: o jogo fica completo quando "
                              "for aberto de novo.",
               Icone::Critico);
}

void Compactar_Base_Dados(db::Database& d) {
    ponto_de_falha("compactar");
    d.compactar();
}

} // namespace gv
