// Forwards the Platform interface to the implementation behind the pointer.
#include "platform/win32/win32_platform.h"

#include "platform/win32/platform_impl.h"

namespace pallo::win32 {

Win32Platform::Win32Platform() : impl_(std::make_unique<platform::win32::Win32Backend>()) {}
Win32Platform::~Win32Platform() = default;

void Win32Platform::setEventSink(platform::EventSink* sink) { return impl_->setEventSink(sink); }
int Win32Platform::run() { return impl_->run(); }
void Win32Platform::requestExit() { return impl_->requestExit(); }
bool Win32Platform::exitRequested() const { return impl_->exitRequested(); }
void Win32Platform::waitProcessingEvents(int ms) { return impl_->waitProcessingEvents(ms); }
std::int64_t Win32Platform::tickMs() const { return impl_->tickMs(); }
platform::ScreenSize Win32Platform::screenSize() const { return impl_->screenSize(); }
std::string Win32Platform::runDirectory() const { return impl_->runDirectory(); }
void Win32Platform::openFolder(const std::string& path) { return impl_->openFolder(path); }
platform::Answer Win32Platform::messageBox(platform::WindowRef owner, const std::string& text, const std::string& caption, platform::MessageButtons buttons) { return impl_->messageBox(owner, text, caption, buttons); }
platform::WindowRef Win32Platform::createWindow(const ui::WindowDesign& design, platform::WindowRef owner) { return impl_->createWindow(design, owner); }
bool Win32Platform::exists(platform::WindowRef w) const { return impl_->exists(w); }
void Win32Platform::destroy(platform::WindowRef w) { return impl_->destroy(w); }
platform::NativeHandle Win32Platform::nativeHandle(platform::WindowRef w) const { return impl_->nativeHandle(w); }
std::string Win32Platform::designName(platform::WindowRef w) const { return impl_->designName(w); }
platform::WindowRef Win32Platform::owner(platform::WindowRef w) const { return impl_->owner(w); }
void Win32Platform::setVisible(platform::WindowRef w, bool visible) { return impl_->setVisible(w, visible); }
bool Win32Platform::isVisible(platform::WindowRef w) const { return impl_->isVisible(w); }
bool Win32Platform::isEnabled(platform::WindowRef w) const { return impl_->isEnabled(w); }
void Win32Platform::setEditable(const platform::ControlRef& c, bool editable) { impl_->setEditable(c, editable); }
bool Win32Platform::isEditable(const platform::ControlRef& c) const { return impl_->isEditable(c); }
void Win32Platform::move(platform::WindowRef w, int left, int top) { return impl_->move(w, left, top); }
void Win32Platform::resize(platform::WindowRef w, int width, int height) { return impl_->resize(w, width, height); }
int Win32Platform::left(platform::WindowRef w) const { return impl_->left(w); }
int Win32Platform::top(platform::WindowRef w) const { return impl_->top(w); }
int Win32Platform::width(platform::WindowRef w) const { return impl_->width(w); }
int Win32Platform::height(platform::WindowRef w) const { return impl_->height(w); }
void Win32Platform::setTopMost(platform::WindowRef w, bool onTop) { return impl_->setTopMost(w, onTop); }
bool Win32Platform::isTopMost(platform::WindowRef w) const { return impl_->isTopMost(w); }
void Win32Platform::setWindowTag(platform::WindowRef w, const std::string& tag) { return impl_->setWindowTag(w, tag); }
std::string Win32Platform::windowTag(platform::WindowRef w) const { return impl_->windowTag(w); }
void Win32Platform::setTitle(platform::WindowRef w, const std::string& title) { return impl_->setTitle(w, title); }
std::string Win32Platform::title(platform::WindowRef w) const { return impl_->title(w); }
void Win32Platform::setLayeredAlpha(platform::NativeHandle handle, int alpha) { return impl_->setLayeredAlpha(handle, alpha); }
int Win32Platform::layeredAlpha(platform::NativeHandle handle) const { return impl_->layeredAlpha(handle); }
bool Win32Platform::hasControl(const platform::ControlRef& c) const { return impl_->hasControl(c); }
void Win32Platform::setVisible(const platform::ControlRef& c, bool visible) { return impl_->setVisible(c, visible); }
bool Win32Platform::isVisible(const platform::ControlRef& c) const { return impl_->isVisible(c); }
void Win32Platform::setEnabled(const platform::ControlRef& c, bool enabled) { return impl_->setEnabled(c, enabled); }
bool Win32Platform::isEnabled(const platform::ControlRef& c) const { return impl_->isEnabled(c); }
void Win32Platform::setText(const platform::ControlRef& c, const std::string& text) { return impl_->setText(c, text); }
std::string Win32Platform::text(const platform::ControlRef& c) const { return impl_->text(c); }
void Win32Platform::setTag(const platform::ControlRef& c, const std::string& tag) { return impl_->setTag(c, tag); }
std::string Win32Platform::tag(const platform::ControlRef& c) const { return impl_->tag(c); }
void Win32Platform::setFocus(const platform::ControlRef& c) { return impl_->setFocus(c); }
bool Win32Platform::hasFocus(const platform::ControlRef& c) const { return impl_->hasFocus(c); }
void Win32Platform::setTextColour(const platform::ControlRef& c, std::int32_t packedRgb) { return impl_->setTextColour(c, packedRgb); }
std::int32_t Win32Platform::textColour(const platform::ControlRef& c) const { return impl_->textColour(c); }
void Win32Platform::setPicture(const platform::ControlRef& c, const platform::PictureSource& source) { return impl_->setPicture(c, source); }
platform::PictureSource Win32Platform::picture(const platform::ControlRef& c) const { return impl_->picture(c); }
void Win32Platform::setTooltip(const platform::ControlRef& c, const std::string& text) { return impl_->setTooltip(c, text); }
std::string Win32Platform::tooltip(const platform::ControlRef& c) const { return impl_->tooltip(c); }
void Win32Platform::clearItems(const platform::ControlRef& c) { return impl_->clearItems(c); }
void Win32Platform::addItem(const platform::ControlRef& c, const std::string& text, std::int64_t data) { return impl_->addItem(c, text, data); }
int Win32Platform::itemCount(const platform::ControlRef& c) const { return impl_->itemCount(c); }
std::string Win32Platform::itemText(const platform::ControlRef& c, int index) const { return impl_->itemText(c, index); }
std::int64_t Win32Platform::itemData(const platform::ControlRef& c, int index) const { return impl_->itemData(c, index); }
void Win32Platform::setSelection(const platform::ControlRef& c, int index) { return impl_->setSelection(c, index); }
int Win32Platform::selection(const platform::ControlRef& c) const { return impl_->selection(c); }
void Win32Platform::setChecked(const platform::ControlRef& c, bool checked) { return impl_->setChecked(c, checked); }
bool Win32Platform::isChecked(const platform::ControlRef& c) const { return impl_->isChecked(c); }
void Win32Platform::setScrollRange(const platform::ControlRef& c, int min, int max) { return impl_->setScrollRange(c, min, max); }
void Win32Platform::setScrollPos(const platform::ControlRef& c, int pos) { return impl_->setScrollPos(c, pos); }
int Win32Platform::scrollPos(const platform::ControlRef& c) const { return impl_->scrollPos(c); }
void Win32Platform::setReadOnly(const platform::ControlRef& c, bool readOnly) { return impl_->setReadOnly(c, readOnly); }
bool Win32Platform::isReadOnly(const platform::ControlRef& c) const { return impl_->isReadOnly(c); }
int Win32Platform::rowCount(const platform::ControlRef& c) const { return impl_->rowCount(c); }
int Win32Platform::columnCount(const platform::ControlRef& c) const { return impl_->columnCount(c); }
int Win32Platform::addRow(const platform::ControlRef& c, const std::string& firstCell) { return impl_->addRow(c, firstCell); }
void Win32Platform::setCell(const platform::ControlRef& c, int row, int column, const std::string& text) { return impl_->setCell(c, row, column, text); }
std::string Win32Platform::cell(const platform::ControlRef& c, int row, int column) const { return impl_->cell(c, row, column); }
void Win32Platform::deleteRow(const platform::ControlRef& c, int row) { return impl_->deleteRow(c, row); }
void Win32Platform::clearRows(const platform::ControlRef& c) { return impl_->clearRows(c); }
void Win32Platform::setCurrentRow(const platform::ControlRef& c, int row) { return impl_->setCurrentRow(c, row); }
int Win32Platform::currentRow(const platform::ControlRef& c) const { return impl_->currentRow(c); }
void Win32Platform::setRowSelected(const platform::ControlRef& c, int row, bool selected) { return impl_->setRowSelected(c, row, selected); }
std::vector<int> Win32Platform::selectedRows(const platform::ControlRef& c) const { return impl_->selectedRows(c); }

}  // namespace pallo::win32
