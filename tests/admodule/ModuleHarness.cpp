#include "ModuleHarness.h"

#include <cstdlib>

namespace fs = std::filesystem;

std::u16string TakeOle(BSTR text) {
    if (text == nullptr) return u"<null>";
    std::u16string out(text, SysStringLen(text));
    SysFreeString(text);
    return out;
}

std::u16string TaviLibrary::List(int wanted, int* result) const {
    BSTR slot = nullptr;
    const int count = GetAdIdList(0, wanted, &slot);
    if (result != nullptr) *result = count;
    return slot == nullptr ? u"<untouched>" : TakeOle(slot);
}

std::u16string TaviLibrary::Query(int id, const std::u16string& name, int* result) const {
    BSTR nameText = SysAllocString(name.c_str());
    BSTR slot = nullptr;
    const int found = QueryAdInfo(id, nameText, &slot);
    SysFreeString(nameText);
    if (result != nullptr) *result = found;
    return TakeOle(slot);
}

int TaviLibrary::Info(const std::u16string& action) const {
    BSTR text = SysAllocStringLen(action.data(), static_cast<std::uint32_t>(action.size()));
    const int result = ReportInfo(text);
    SysFreeString(text);
    return result;
}

void ModuleHarness::SetUp() {
    // Every transfer goes straight to loopback, whatever proxy the environment names.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
        unsetenv(name);
    }
    setenv("no_proxy", "*", 1);
    previousCwd_ = fs::current_path();
    fs::current_path(work.Path());
    server = std::make_unique<adserver::AdServerProcess>(ADSERVER_PATH,
                                                         std::vector<std::string>{"--key", adserver::kTestSigningKey});
    ASSERT_TRUE(server->running());
}

void ModuleHarness::TearDown() {
    for (auto& library : libraries_) {
        if (library->handle != nullptr) dlclose(library->handle);
    }
    libraries_.clear();
    server.reset();
    fs::current_path(previousCwd_);
}

adserver::ModuleFilesOptions ModuleHarness::Options() const {
    adserver::ModuleFilesOptions options;
    options.serverUrl = server->baseUrl();
    return options;
}

TaviLibrary& ModuleHarness::Load(const adserver::ModuleFilesOptions* options, std::string* printed) {
    auto library = std::make_unique<TaviLibrary>();
    const fs::path folder = fs::path(work.Path()) / ("lib" + std::to_string(libraries_.size()));
    fs::create_directory(folder);
    library->folder = folder.string();
    if (options != nullptr) {
        EXPECT_TRUE(adserver::WriteModuleFiles(folder.string(), *options));
    }
    fs::copy_file(TAVI_LIBRARY_PATH, folder / "libtavi.so");

    ::testing::internal::CaptureStdout();
    library->handle = dlopen((folder / "libtavi.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    const std::string output = ::testing::internal::GetCapturedStdout();
    if (printed != nullptr) *printed = output;
    EXPECT_NE(library->handle, nullptr) << dlerror();
    if (library->handle != nullptr) {
        const auto bind = [&](auto& slot, const char* name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(library->handle, name));
            EXPECT_NE(slot, nullptr) << name;
        };
        bind(library->InitTavi, "InitTavi");
        bind(library->GetAdIdList, "GetAdIdList");
        bind(library->QueryAdInfo, "QueryAdInfo");
        bind(library->ReportAdShow, "ReportAdShow");
        bind(library->ReportAdClick, "ReportAdClick");
        bind(library->ReportInfo, "ReportInfo");
        bind(library->ReleaseTavi, "ReleaseTavi");
    }
    libraries_.push_back(std::move(library));
    return *libraries_.back();
}

TaviLibrary& ModuleHarness::LoadAgain(const TaviLibrary& earlier) {
    const fs::path folder = fs::path(work.Path()) / ("lib" + std::to_string(libraries_.size()));
    fs::create_directory(folder);
    for (const char* name : {"config.xml", "manifest.xml"}) {
        EXPECT_TRUE(fs::copy_file(fs::path(earlier.folder) / name, folder / name)) << name;
    }
    return Load(nullptr);
}

std::vector<adserver::LoggedRequest> ModuleHarness::Requests(const std::string& kind) {
    std::vector<adserver::LoggedRequest> found;
    for (adserver::LoggedRequest& request : server->log()) {
        if (request.kind == kind) found.push_back(std::move(request));
    }
    return found;
}
