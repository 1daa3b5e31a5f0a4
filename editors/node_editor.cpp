#include "editors/node_editor.h"

#include "model/loaders.h"
#include "model/picture_dirs.h"
#include "model/text.h"
#include "ui/designs.h"
#include "ui/names.h"

namespace pallo {

namespace {
namespace names = ui::names::nodeEditor;
using platform::ControlRef;
}  // namespace

void fillNodeChooser(platform::Platform& platform, const ControlRef& combo, const ConfigStore::Snapshot& ini) {
    platform.clearItems(combo);
    platform.addItem(combo, "选择项目", 0);
    platform.setSelection(combo, 0);
    for (int i = 1; i <= kMainNodeCount; ++i) {
        const std::string title = cleanValue(ini, toText(i), "Title");
        if (title.empty()) break;
        platform.addItem(combo, title, i);
    }
}

void fillDirectoryChooser(platform::Platform& platform, const ControlRef& combo, const std::string& imageRoot,
                          const std::string& firstItem) {
    if (!platform.exists(combo.window)) return;
    platform.clearItems(combo);
    platform.addItem(combo, firstItem, 0);
    platform.setSelection(combo, 0);
    std::int64_t data = 0;
    for (const std::string& name : listPictureDirectories(imageRoot)) platform.addItem(combo, name, ++data);
}

void openNodeEditor(Context& ctx) {
    platform::Platform& p = ctx.platform;
    ProgramState& st = ctx.state;
    if (p.exists(st.nodeEditor)) p.destroy(st.nodeEditor);
    st.nodeEditor = p.createWindow(ui::nodeEditorWindow(), st.overlay);
    fillNodeChooser(p, ControlRef{st.nodeEditor, names::nodeChooser}, st.store.snapshot(st.CfgPath));
    fillDirectoryChooser(p, ControlRef{st.nodeEditor, names::directoryChooser}, st.ImageRoot, "子图片目录");
    const WindowInfo& o = st.OverlayInfo;
    p.move(st.nodeEditor, truncate(o.X + o.W + 1.0), truncate(o.Y + o.H + 1.0));
    p.setVisible(st.nodeEditor, true);
}

}  // namespace pallo
