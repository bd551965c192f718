#pragma once
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ResourcePack.h"
#include "platform/Surface.h"

// Pictures of a pack decoded on a helper thread while the program opens its window, so those of
// the first screen are ready when it is first drawn. Each is handed out once.
class AheadPictures {
public:
    // Starts decoding `entries` of `pack`, in order.
    AheadPictures(std::shared_ptr<const platform::ResourcePack> pack, std::vector<std::string> entries);
    ~AheadPictures();
    AheadPictures(const AheadPictures&) = delete;
    AheadPictures& operator=(const AheadPictures&) = delete;

    // Whether `entry` was asked for.
    bool Covers(const std::string& entry) const;
    // The decoded picture of `entry`, waiting for the helper while it is still at work; null
    // when the entry was not asked for, was handed out already or did not decode.
    platform::SurfacePtr Take(const std::string& entry);
    // Ends the helper thread once it has decoded everything, so it does not outlive its work.
    void JoinIfFinished();

private:
    void Run();

    const std::shared_ptr<const platform::ResourcePack> pack_;
    const std::vector<std::string> entries_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::map<std::string, platform::SurfacePtr> decoded_;
    bool finished_ = false;
    std::thread thread_;
};
