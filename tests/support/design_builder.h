// Builds a window design for a test, one control a line.
#pragma once

#include <string>
#include <utility>

#include "ui/design.h"

namespace pallo::testing {

class DesignBuilder {
public:
    DesignBuilder(std::string name, int left, int top, int width, int height) {
        design_.name = std::move(name);
        design_.left = left;
        design_.top = top;
        design_.width = width;
        design_.height = height;
    }

    // A framed window with this caption.
    DesignBuilder& framed(std::string caption) {
        design_.framed = true;
        design_.caption = std::move(caption);
        return *this;
    }

    // Adds a control and returns it to set the rest; the reference holds
    // until the next add.
    ui::ControlDesign& add(ui::ControlKind kind, std::string name, int left, int top, int width, int height,
                           std::string container = {}) {
        ui::ControlDesign c;
        c.kind = kind;
        c.name = std::move(name);
        c.left = left;
        c.top = top;
        c.width = width;
        c.height = height;
        c.container = std::move(container);
        design_.controls.push_back(std::move(c));
        return design_.controls.back();
    }

    ui::WindowDesign& design() { return design_; }

private:
    ui::WindowDesign design_;
};

}  // namespace pallo::testing
