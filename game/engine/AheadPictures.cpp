#include "engine/AheadPictures.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "platform/PictureLoader.h"

AheadPictures::AheadPictures(std::shared_ptr<const platform::ResourcePack> pack, std::vector<std::string> entries)
    : pack_(std::move(pack)), entries_(std::move(entries)) {
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to spare: every picture is decoded when first drawn, as without this.
        finished_ = true;
    }
}

AheadPictures::~AheadPictures() {
    if (thread_.joinable()) thread_.join();
}

bool AheadPictures::Covers(const std::string& entry) const {
    return std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
}

void AheadPictures::Run() {
    for (const std::string& entry : entries_) {
        // Out of memory here leaves the picture to its first draw, which reports it.
        try {
            std::vector<uint8_t> bytes;
            platform::SurfacePtr picture =
                pack_ != nullptr && pack_->Read(entry, bytes) ? platform::LoadPng(bytes) : nullptr;
            const std::lock_guard<std::mutex> lock(mutex_);
            decoded_[entry] = std::move(picture);
        } catch (const std::bad_alloc&) {}
        ready_.notify_all();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    ready_.notify_all();
}

platform::SurfacePtr AheadPictures::Take(const std::string& entry) {
    if (!Covers(entry)) return nullptr;
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return finished_ || decoded_.count(entry) != 0; });
    // The entry stays, empty: a picture asked for again is not waited for.
    auto found = decoded_.find(entry);
    return found != decoded_.end() ? std::move(found->second) : nullptr;
}

void AheadPictures::JoinIfFinished() {
    // Called every idle moment: once the helper is joined, nothing is locked any more.
    if (!thread_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!finished_) return;
    }
    thread_.join();
}
