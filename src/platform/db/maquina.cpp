// This machine and this boot, as the system names them.

#include "platform/db/maquina.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <optional>

namespace gv::db {

namespace {

std::string primeira_linha(const char* ficheiro) {
    std::string l;
    std::getline(std::ifstream(ficheiro), l);
    while (!l.empty() && (l.back() == '\n' || l.back() == ' ')) l.pop_back();
    return l;
}

std::mutex guarda;
std::optional<Esta_Maquina>& fingida() {
    static std::optional<Esta_Maquina> m;
    return m;
}

Esta_Maquina do_sistema() {
    Esta_Maquina m;
    m.arranque = primeira_linha("/proc/sys/kernel/random/boot_id");
    m.id = primeira_linha("/etc/machine-id");
    if (m.id.empty()) m.id = primeira_linha("/var/lib/dbus/machine-id");
    // No machine id (a bare container): this boot stands for the machine,
    // so that a note of an earlier boot is taken for another machine's and
    // never for a window of this one.
    if (m.id.empty()) m.id = "arranque-" + m.arranque;
    char n[256] = {};
    m.nome = ::gethostname(n, sizeof n - 1) == 0 && n[0] ? n : "?";
    return m;
}

} // namespace

const Esta_Maquina& esta_maquina() {
    static const Esta_Maquina sistema = do_sistema();
    std::lock_guard<std::mutex> g(guarda);
    return fingida() ? *fingida() : sistema;
}

void fingir_maquina(Esta_Maquina m) {
    std::lock_guard<std::mutex> g(guarda);
    fingida() = std::move(m);
}

long desvio_dos_trincos() {
    std::lock_guard<std::mutex> g(guarda);
    if (!fingida()) return 0;
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : fingida()->id) h = (h ^ c) * 1099511628211ull;
    return 1 + static_cast<long>(h % 4096);
}

std::string alcance_dos_trincos(int pasta) {
    struct stat st {};
    const unsigned long long dev = ::fstat(pasta, &st) == 0 ? static_cast<unsigned long long>(st.st_dev) : 0;
    // FNV-1a of the boot and the file system: short enough for a file name.
    std::uint64_t h = 1469598103934665603ull;
    const std::string s = esta_maquina().arranque + "/" + std::to_string(dev);
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    char r[17];
    std::snprintf(r, sizeof r, "%016llx", static_cast<unsigned long long>(h));
    return r;
}

std::string unico() {
    unsigned char b[16] = {};
    std::size_t lidos = 0;
    while (lidos < sizeof b) {
        const ssize_t n = ::getrandom(b + lidos, sizeof b - lidos, 0);
        if (n <= 0) break;
        lidos += static_cast<std::size_t>(n);
    }
    static constexpr char Hex[] = "0123456789abcdef";
    std::string r;
    for (unsigned char c : b) r += {Hex[c >> 4], Hex[c & 15]};
    return r;
}

} // namespace gv::db
