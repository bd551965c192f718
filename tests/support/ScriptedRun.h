#pragma once
// Plays a script in the real program: headless, LAN searches on loopback only, a single-instance
// name of its own, a hard time limit, and its standard output and error kept for the test.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

struct ScriptedRun {
    int status = -1;     // the exit status; -1 when the program did not exit by itself
    std::string output;  // standard output and standard error
};

// Runs `program` with `args` on `script`; the script and the output are kept in `work`.
// `seed` > 0 fixes the first seed of the random generator.
inline ScriptedRun PlayScript(const std::filesystem::path& program, const std::filesystem::path& work,
                              const std::string& script, const std::string& args = {}, int seed = 0) {
    static int runs = 0;
    const std::string scriptPath = (work / "script.txt").string();
    const std::string outPath = (work / "out.txt").string();
    std::ofstream(scriptPath) << script;
    std::string command = "env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy GLYPHOR_WINDOWED=1 ";
    command += "GLYPHOR_LAN_BROADCAST=127.255.255.255 ASAN_OPTIONS=detect_leaks=0 GLYPHOR_INSTANCE=script-";
    command += std::to_string(::getpid());
    command += '-';
    command += std::to_string(++runs);
    if (seed > 0) {
        command += " GLYPHOR_SEED=";
        command += std::to_string(seed);
    }
    command += " GLYPHOR_SCRIPT=";
    command += scriptPath;
    command += " timeout 300 ";
    command += program.string();
    if (!args.empty()) {
        command += ' ';
        command += args;
    }
    command += " > ";
    command += outPath;
    command += " 2>&1";
    const int status = std::system(command.c_str());
    ScriptedRun run;
    std::stringstream text;
    text << std::ifstream(outPath).rdbuf();
    run.output = text.str();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace testsupport
