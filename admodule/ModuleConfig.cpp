#include "admodule/ModuleConfig.h"

#include "admodule/DecimalText.h"
#include "admodule/Diagnostics.h"
#include "admodule/ReplaceFile.h"
#include "admodule/SigningKey.h"
#include "admodule/UserId.h"
#include "admodule/XmlText.h"
#include "platform/FileReplacement.h"
#include "platform/FolderLock.h"

#include <tinyxml.h>

#include <cstdio>
#include <string>
#include <utility>

namespace tavi {
namespace {

// A key written over several lines reaches us with its line breaks turned into spaces by the
// XML reader; no blank is part of a key.
std::string WithoutBlanks(std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
    return text;
}

bool CanOpen(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

// Reads a configuration file with its line ends made single line feeds, as the XML library's
// own file loading does.
bool ReadXmlFile(const std::string& path, std::string& text) {
    std::string raw;
    if (!ReadSmallFile(path, raw)) return false;
    text.clear();
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r') {
            text.push_back('\n');
            if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
        } else {
            text.push_back(raw[i]);
        }
    }
    return true;
}

bool ParseXml(const std::string& text, TiXmlDocument& doc) {
    doc.SetTabSize(1);  // so the places of elements can be found in the text again
    return ParseXmlText(doc, text);
}

// The fields "config.xml" holds.
bool SameFileFields(const ConfigFields& a, const ConfigFields& b) {
    return a.version == b.version && a.typeId == b.typeId && a.actionName == b.actionName &&
           a.baseVersion == b.baseVersion && a.crcKey == b.crcKey && a.queryUpdateUrl == b.queryUpdateUrl &&
           a.adUrlPre == b.adUrlPre && a.infoReportUrlPre == b.infoReportUrlPre &&
           a.limitAdCacheCnt == b.limitAdCacheCnt && a.currentAdCacheCnt == b.currentAdCacheCnt &&
           a.limitReportInfoToCacheCnt == b.limitReportInfoToCacheCnt &&
           a.currentReportInfoToCacheCnt == b.currentReportInfoToCacheCnt;
}

// Reads the text of the required child `name` of `parent`; false when it is missing.
bool ReadChild(const TiXmlElement* parent, const char* name, std::string& out) {
    const TiXmlElement* child = parent->FirstChildElement(name);
    if (child == nullptr) return false;
    out = ElementText(child);
    return true;
}

// A counter is read from its text as written: the XML library's trimming would make "1 " read as
// 1, and white space makes a counter not legal.
bool ReadCounter(std::string_view source, const TiXmlElement* parent, const char* name, std::int32_t& out) {
    const TiXmlElement* child = parent->FirstChildElement(name);
    if (child == nullptr) return false;
    const std::optional<std::string> raw = RawElementText(source, *child);
    const std::optional<std::int32_t> value = ParseCounter(raw ? *raw : ElementText(child));
    if (!value) return false;
    out = *value;
    return true;
}

TiXmlElement* AddText(TiXmlNode& parent, const char* name, const std::string& text) {
    auto* element = new TiXmlElement(name);
    element->LinkEndChild(new TiXmlText(text.c_str()));
    parent.LinkEndChild(element);
    return element;
}

TiXmlElement* AddElement(TiXmlNode& parent, const char* name) {
    auto* element = new TiXmlElement(name);
    parent.LinkEndChild(element);
    return element;
}

}  // namespace

ModuleConfig::ModuleConfig(std::string configPath, std::string manifestPath)
    : configPath_(std::move(configPath)), manifestPath_(std::move(manifestPath)) {}

bool ModuleConfig::LoadConfig() {
    if (!CanOpen(configPath_)) {
        DiagPrint("can not find xml config file:%s\n", configPath_.c_str());
        return false;
    }
    if (!CanOpen(manifestPath_)) {
        DiagPrint("can not find xml config file:%s\n", manifestPath_.c_str());
        return false;
    }
    if (!ParseConfig()) {
        DiagPrint("xml config file: %s or %s not legal\n", configPath_.c_str(), manifestPath_.c_str());
        return false;
    }
    return true;
}

bool ModuleConfig::ParseManifest() {
    TiXmlDocument doc;
    std::string text;
    if (!ReadXmlFile(manifestPath_, text) || !ParseXml(text, doc)) return false;
    const TiXmlElement* manifest = doc.FirstChildElement("manifest");
    if (manifest == nullptr) return false;
    const TiXmlElement* info = manifest->FirstChildElement("pkg-info");
    if (info == nullptr) return false;
    return ReadChild(info, "project-num", fields_.projectNum) &&
           ReadChild(info, "control-version", fields_.controlVersion);
}

bool ModuleConfig::ParseConfig() {
    if (!ParseManifest()) return false;
    std::string text;
    return ReadXmlFile(configPath_, text) && ParseConfigText(text);
}

bool ModuleConfig::ParseConfigText(const std::string& text) {
    TiXmlDocument doc;
    if (!ParseXml(text, doc)) return false;
    const TiXmlElement* root = doc.RootElement();
    if (root == nullptr || !ReadChild(root, "version", fields_.version)) return false;

    const TiXmlElement* base = root->FirstChildElement("base");
    if (base == nullptr) return false;
    fields_.userId = MakeUserId();
    if (!ReadChild(base, "type_id", fields_.typeId) || !ReadChild(base, "action_name", fields_.actionName) ||
        !ReadChild(base, "version", fields_.baseVersion) || !ReadChild(base, "crc_key", fields_.crcKey)) {
        return false;
    }
    fields_.signingKey = DeriveSigningKey(WithoutBlanks(fields_.crcKey));

    const TiXmlElement* url = root->FirstChildElement("url");
    if (url == nullptr || !ReadChild(url, "query_update_url", fields_.queryUpdateUrl) ||
        !ReadChild(url, "ad_url_pre", fields_.adUrlPre) ||
        !ReadChild(url, "info_report_url_pre", fields_.infoReportUrlPre)) {
        return false;
    }

    const TiXmlElement* cache = root->FirstChildElement("cache");
    return cache != nullptr && ReadCounter(text, cache, "limit_ad_cache_cnt", fields_.limitAdCacheCnt) &&
           ReadCounter(text, cache, "current_ad_cache_cnt", fields_.currentAdCacheCnt) &&
           ReadCounter(text, cache, "limit_report_info_to_cache_cnt", fields_.limitReportInfoToCacheCnt) &&
           ReadCounter(text, cache, "current_report_info_to_cache_cnt", fields_.currentReportInfoToCacheCnt);
}

// Only the counter changes while the module runs. It is written into the file as the file is
// now, so a configuration written anew meanwhile (an update) keeps its fields, and a file that
// holds the counter already is not written again. Copies that share the file take turns.
void ModuleConfig::SaveConfig() const {
    const platform::FolderLock lock(platform::FolderOf(configPath_));
    ModuleConfig current(configPath_, manifestPath_);
    std::string text;
    if (ReadXmlFile(configPath_, text) && current.ParseConfigText(text)) {
        if (current.fields_.currentReportInfoToCacheCnt == fields_.currentReportInfoToCacheCnt) return;
        current.fields_.currentReportInfoToCacheCnt = fields_.currentReportInfoToCacheCnt;
        current.WriteConfig();
    } else {
        WriteConfig();
    }
}

void ModuleConfig::WriteConfig() const {
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "utf-8", ""));
    TiXmlElement* root = AddElement(doc, "taviconfig");
    AddText(*root, "version", fields_.version);

    TiXmlElement* base = AddElement(*root, "base");
    AddText(*base, "type_id", fields_.typeId);
    AddText(*base, "action_name", fields_.actionName);
    AddText(*base, "version", fields_.baseVersion);
    AddText(*base, "crc_key", fields_.crcKey);

    TiXmlElement* url = AddElement(*root, "url");
    AddText(*url, "query_update_url", fields_.queryUpdateUrl);
    AddText(*url, "ad_url_pre", fields_.adUrlPre);
    AddText(*url, "info_report_url_pre", fields_.infoReportUrlPre);

    TiXmlElement* cache = AddElement(*root, "cache");
    AddText(*cache, "limit_ad_cache_cnt", std::to_string(fields_.limitAdCacheCnt));
    AddText(*cache, "current_ad_cache_cnt", std::to_string(fields_.currentAdCacheCnt));
    AddText(*cache, "limit_report_info_to_cache_cnt", std::to_string(fields_.limitReportInfoToCacheCnt));
    AddText(*cache, "current_report_info_to_cache_cnt", std::to_string(fields_.currentReportInfoToCacheCnt));

    TiXmlPrinter printer;
    doc.Accept(&printer);
    const std::string text = printer.CStr();
    // What is written must read back as it is: the XML library reads a broken UTF-8 sequence
    // together with the byte after it, so a text ending in one would take its end tag along and
    // make the file not legal. Such a file is not written; the old one, which was read, stays.
    ModuleConfig check(configPath_, manifestPath_);
    if (!check.ParseConfigText(text) || !SameFileFields(check.fields_, fields_)) return;
    // A new file renamed over the old one: a full disk keeps the old file whole.
    ReplaceFile(configPath_, text);
}

}  // namespace tavi
