// A program that uses the Kestro engine as a library: it writes NAMES.DAT for
// the input named on its command line into the current folder, calls KGO and
// checks that the run ended normally with a report.
#include <kestro/kgo.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kestro_consumer INPUT\n";
        return 64;
    }
    {
        std::ofstream names("NAMES.DAT");
        names << argv[1] << "\nreport.txt\nplot.txt\nmessages.txt\nConsumer\nTest\n";
    }
    const int result = KGO();
    std::ifstream report("report.txt");
    std::ostringstream text;
    text << report.rdbuf();
    const bool normal = text.str().find("The analysis ended normally.") != std::string::npos;
    std::cout << "KGO returned " << result << (normal ? "; the analysis ended normally\n" : "\n");
    return result == 0 && normal ? 0 : 1;
}
