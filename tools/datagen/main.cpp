// varnok-datagen OUTDIR: writes the bundled sample data (150 trees and the standard rule sets)
// into OUTDIR. Prints one summary line on success; on failure the reason on stderr, exit 1.

#include "DataGen.h"
#include "Parameters.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: varnok-datagen OUTDIR\n";
        return 1;
    }
    try {
        const std::filesystem::path root(argv[1]);
        const auto summary = varnok::datagen::GenerateDataFolder(root, varnok::datagen::kSeed);
        std::cout << "varnok-datagen: " << varnok::datagen::SummaryLine(summary, root) << '\n';
    } catch (const std::exception& error) {
        std::cerr << "varnok-datagen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
