#pragma once
// Runs the built libtavi.so as a host does: a copy with its own config.xml and manifest.xml in
// a fresh folder, loaded with dlopen, while the process works in a temporary current folder
// (where the queue files go) and tools/adserver answers on a free loopback port.

#include "AdServerProcess.h"
#include "ModuleFiles.h"
#include "admodule/tavi.h"
#include "tests/support/TempDir.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct TaviLibrary {
    void* handle = nullptr;
    std::string folder;
    InitTaviFn InitTavi = nullptr;
    GetAdIdListFn GetAdIdList = nullptr;
    QueryAdInfoFn QueryAdInfo = nullptr;
    ReportAdShowFn ReportAdShow = nullptr;
    ReportAdClickFn ReportAdClick = nullptr;
    ReportInfoFn ReportInfo = nullptr;
    ReleaseTaviFn ReleaseTavi = nullptr;

    // GetAdIdList into a fresh slot; the ids text, or "<untouched>" when the slot was left alone.
    std::u16string List(int wanted, int* result = nullptr) const;
    // QueryAdInfo's text, and its result in `result`.
    std::u16string Query(int id, const std::u16string& name, int* result = nullptr) const;
    int Info(const std::u16string& action) const;
};

// Frees an OLE string and gives its text.
std::u16string TakeOle(BSTR text);

class ModuleHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Options pointing at the test server.
    adserver::ModuleFilesOptions Options() const;
    // Copies the library into a new folder with the given configuration and loads it. Without
    // options no configuration files are written. What the start-up printed goes to `printed`.
    TaviLibrary& Load(const adserver::ModuleFilesOptions* options, std::string* printed = nullptr);
    TaviLibrary& Load() {
        const adserver::ModuleFilesOptions options = Options();
        return Load(&options);
    }
    // The host's next run: a fresh copy of the library with the configuration files `earlier`
    // left behind.
    TaviLibrary& LoadAgain(const TaviLibrary& earlier);

    // The server's log of one kind of request.
    std::vector<adserver::LoggedRequest> Requests(const std::string& kind);
    // The current folder, where the queue files go.
    std::string Cwd(const std::string& name) const { return work.File(name); }

    testsupport::TempDir work;
    std::unique_ptr<adserver::AdServerProcess> server;

private:
    std::filesystem::path previousCwd_;
    std::vector<std::unique_ptr<TaviLibrary>> libraries_;
};
