#pragma once
// The plot windows as the plotter sees them: made by its draw button and by programs,
// listed, called up and cleared away by its board manager.
#include <cstdint>
#include <vector>

#include <QString>

#include "windowhost.h"

namespace quor {

inline constexpr std::int32_t swhide = 0;
inline constexpr std::int32_t swshow = 5;

class tboards : public twindowhost {
public:
    struct tboard {
        std::int32_t handle;
        QString caption;
        bool visible;
    };
    // The open plot windows in the application's order.
    virtual std::vector<tboard> list() const = 0;
    // Destroys one plot window; false for an unknown handle.
    virtual bool destroy(std::int32_t handle) = 0;
    // Destroys every plot window (program end).
    virtual void destroyall() = 0;
};

}  // namespace quor
