// The Win32 desktop behind the Platform interface. This header stays free of
// windows.h so the program entry can include it: the implementation
// (platform_impl.h, with the system headers) sits behind a pointer.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace pallo::platform::win32 {
class Win32Backend;
}

namespace pallo::win32 {

// Registers the window classes and initialises the common controls. One
// instance per process, created and used on the GUI thread.
class Win32Platform final : public platform::Platform {
public:
    Win32Platform();
    ~Win32Platform() override;

    // The implementation, for the conformance tests and their hooks.
    platform::win32::Win32Backend& backend() { return *impl_; }

    void setEventSink(platform::EventSink* sink) override;
    int run() override;
    void requestExit() override;
    bool exitRequested() const override;
    void waitProcessingEvents(int ms) override;
    std::int64_t tickMs() const override;
    platform::ScreenSize screenSize() const override;
    std::string runDirectory() const override;
    void openFolder(const std::string& path) override;
    platform::Answer messageBox(platform::WindowRef owner, const std::string& text, const std::string& caption, platform::MessageButtons buttons) override;
    platform::WindowRef createWindow(const ui::WindowDesign& design, platform::WindowRef owner) override;
    bool exists(platform::WindowRef w) const override;
    void destroy(platform::WindowRef w) override;
    platform::NativeHandle nativeHandle(platform::WindowRef w) const override;
    std::string designName(platform::WindowRef w) const override;
    platform::WindowRef owner(platform::WindowRef w) const override;
    void setVisible(platform::WindowRef w, bool visible) override;
    bool isVisible(platform::WindowRef w) const override;
    bool isEnabled(platform::WindowRef w) const override;  // stand-in, see platform_impl.h
    void move(platform::WindowRef w, int left, int top) override;
    void resize(platform::WindowRef w, int width, int height) override;
    int left(platform::WindowRef w) const override;
    int top(platform::WindowRef w) const override;
    int width(platform::WindowRef w) const override;
    int height(platform::WindowRef w) const override;
    void setTopMost(platform::WindowRef w, bool onTop) override;
    bool isTopMost(platform::WindowRef w) const override;
    void setWindowTag(platform::WindowRef w, const std::string& tag) override;
    std::string windowTag(platform::WindowRef w) const override;
    void setTitle(platform::WindowRef w, const std::string& title) override;
    std::string title(platform::WindowRef w) const override;
    void setLayeredAlpha(platform::NativeHandle handle, int alpha) override;
    int layeredAlpha(platform::NativeHandle handle) const override;
    bool hasControl(const platform::ControlRef& c) const override;
    void setVisible(const platform::ControlRef& c, bool visible) override;
    bool isVisible(const platform::ControlRef& c) const override;
    void setEnabled(const platform::ControlRef& c, bool enabled) override;
    bool isEnabled(const platform::ControlRef& c) const override;
    void setEditable(const platform::ControlRef& c, bool editable) override;
    bool isEditable(const platform::ControlRef& c) const override;
    void setText(const platform::ControlRef& c, const std::string& text) override;
    std::string text(const platform::ControlRef& c) const override;
    void setTag(const platform::ControlRef& c, const std::string& tag) override;
    std::string tag(const platform::ControlRef& c) const override;
    void setFocus(const platform::ControlRef& c) override;
    bool hasFocus(const platform::ControlRef& c) const override;
    void setTextColour(const platform::ControlRef& c, std::int32_t packedRgb) override;
    std::int32_t textColour(const platform::ControlRef& c) const override;
    void setPicture(const platform::ControlRef& c, const platform::PictureSource& source) override;
    platform::PictureSource picture(const platform::ControlRef& c) const override;
    void setTooltip(const platform::ControlRef& c, const std::string& text) override;
    std::string tooltip(const platform::ControlRef& c) const override;
    void clearItems(const platform::ControlRef& c) override;
    void addItem(const platform::ControlRef& c, const std::string& text, std::int64_t data) override;
    int itemCount(const platform::ControlRef& c) const override;
    std::string itemText(const platform::ControlRef& c, int index) const override;
    std::int64_t itemData(const platform::ControlRef& c, int index) const override;
    void setSelection(const platform::ControlRef& c, int index) override;
    int selection(const platform::ControlRef& c) const override;
    void setChecked(const platform::ControlRef& c, bool checked) override;
    bool isChecked(const platform::ControlRef& c) const override;
    void setScrollRange(const platform::ControlRef& c, int min, int max) override;
    void setScrollPos(const platform::ControlRef& c, int pos) override;
    int scrollPos(const platform::ControlRef& c) const override;
    void setReadOnly(const platform::ControlRef& c, bool readOnly) override;
    bool isReadOnly(const platform::ControlRef& c) const override;
    int rowCount(const platform::ControlRef& c) const override;
    int columnCount(const platform::ControlRef& c) const override;
    int addRow(const platform::ControlRef& c, const std::string& firstCell) override;
    void setCell(const platform::ControlRef& c, int row, int column, const std::string& text) override;
    std::string cell(const platform::ControlRef& c, int row, int column) const override;
    void deleteRow(const platform::ControlRef& c, int row) override;
    void clearRows(const platform::ControlRef& c) override;
    void setCurrentRow(const platform::ControlRef& c, int row) override;
    int currentRow(const platform::ControlRef& c) const override;
    void setRowSelected(const platform::ControlRef& c, int row, bool selected) override;
    std::vector<int> selectedRows(const platform::ControlRef& c) const override;

private:
    std::unique_ptr<platform::win32::Win32Backend> impl_;
};

}  // namespace pallo::win32
