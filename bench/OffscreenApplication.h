#pragma once
// The Qt application of a benchmark that measures widgets: on the offscreen
// platform, so that it runs without a display.

#include <QApplication>

#include <optional>

namespace qln::bench {

class OffscreenApplication {
public:
    explicit OffscreenApplication(const char* name) : name_(name)
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_.emplace(argc_, argv_);
    }

private:
    int argc_ = 1;
    QByteArray name_;
    char* argv_[2] = {name_.data(), nullptr};
    std::optional<QApplication> app_;
};

}  // namespace qln::bench
