#include "panel/Document.h"

#include "panel/DocumentTexts.h"
#include "panel/FileAccess.h"

#include <QFileInfo>
#include <algorithm>

namespace vedivez {

Document::Document(PanelWindow& window) : panel_(window) {}

template <typename F> auto Document::Step(F&& operation) {
    const uint64_t before = Generation();
    struct Tell {
        Document& document;
        uint64_t before;
        // Also after a failure part of the way: what changed until then is told.
        ~Tell() {
            if (document.Generation() != before)
                emit document.changed();
        }
    } tell{*this, before};
    return operation();
}

QString Document::StateWord(State state) {
    switch (state) {
    case State::New:
        return StateNew();
    case State::Modified:
        return StateModified();
    case State::Saved:
        return StateSaved();
    case State::Loaded:
        return StateLoaded();
    }
    return {};
}

bool Document::Modified() const {
    return !panel_.Elements().empty() && state_ == State::Modified;
}

QString Document::ShownPath() const {
    return path_.empty() ? NoFileText() : PathForDisplay(path_);
}

QString Document::Caption() const {
    const QString name =
        path_.empty() ? QString::fromUtf8("Nová stanice") : QFileInfo(PathForDisplay(path_)).fileName();
    return AppTitle() + QStringLiteral(" - ") + name;
}

void Document::SetState(State state) {
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged();
}

void Document::Bind(std::string nativePath, State state) {
    const bool same = nativePath == path_ && state == state_;
    path_ = std::move(nativePath);
    state_ = state;
    if (!same)
        emit stateChanged();
}

void Document::PlaceElementAt(int32_t px, int32_t py, bool remove) {
    Step([&] { panel_.PlaceElementAt(px, py, remove); });
    // A placement or a removal always changes what a save writes.
    SetState(State::Modified);
}

void Document::FillRow(int32_t lastCol, int32_t row, int32_t count) {
    if (count <= 0)
        return;
    Step([&] { panel_.FillRow(lastCol, row, count); });
    SetState(State::Modified);
}

bool Document::ShiftAll(int32_t dx, int32_t dy) {
    const bool allowed = Step([&] { return panel_.ShiftAll(dx, dy); });
    // A shift by nothing, or a refused one, leaves the file as it was.
    if (allowed && (dx != 0 || dy != 0))
        SetState(State::Modified);
    return allowed;
}

bool Document::SetDimension(int32_t& field, int32_t value) {
    value = std::clamp(value, kMinCells, kMaxCells);
    if (value == field)
        return false;
    field = value;
    ++sizeChanges_;
    return true;
}

void Document::ApplySize(int32_t cols, int32_t rows) {
    const bool colsChanged = SetDimension(panel_.PanelCols, cols);
    const bool rowsChanged = SetDimension(panel_.PanelRows, rows);
    if (colsChanged || rowsChanged)
        emit sizeChanged();
}

void Document::SetSize(int32_t cols, int32_t rows) {
    Step([&] { ApplySize(cols, rows); });
}

void Document::Resize(int32_t cols, int32_t rows) {
    const uint64_t before = sizeChanges_;
    SetSize(cols, rows);
    if (sizeChanges_ != before)
        SetState(State::Modified);
}

void Document::New() {
    Step([&] {
        panel_.ClearElements();
        Bind({}, State::New);
        ApplySize(100, 50);
    });
}

void Document::Apply(StationContent content) {
    Step([&] {
        // Each size line applies on its own, in file order, as the window's size fields
        // would take them one after another.
        for (const StationContent::SizeSetting& s : content.sizes) {
            if (SetDimension(s.height ? panel_.PanelRows : panel_.PanelCols, s.value))
                emit sizeChanged();
        }
        if (content.index && content.index->CellCount() <= content.elements.size())
            panel_.ReplaceElements(std::move(content.elements), std::move(*content.index));
        else
            panel_.ReplaceElements(std::move(content.elements));
    });
}

LoadReport Document::Load(const std::string& nativePath) {
    StationContent content = ReadStationFile(nativePath);
    LoadReport report{std::move(content.unknown)};
    Apply(std::move(content));
    Bind(nativePath, State::Loaded);
    return report;
}

LoadReport Document::Load(const QString& path) {
    return Load(NativePath(path));
}

void Document::Save(const std::string& nativePath) {
    WriteFileAtomically(nativePath, EncodeStation(panel_.Elements(), Rows(), Cols()));
    Bind(nativePath, State::Saved);
}

void Document::Save(const QString& path) {
    Save(NativePath(path));
}

} // namespace vedivez
