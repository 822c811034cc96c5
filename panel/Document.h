#pragma once

#include "panel/PanelState.h"
#include "panel/StationFile.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>

namespace vedivez {

class PanelWindow;

// The open station as a document: the panel with its elements and size, the file it belongs
// to and the state word the status bar shows. Every edit of the panel and every New, load
// and save goes through it, so it knows when the document is modified, and a caption, a
// status bar or a later undo step reads that here and nowhere else.
class Document : public QObject {
    Q_OBJECT
public:
    // The state word: "Nový", "Upraveno", "Uloženo", "Načteno".
    enum class State { New, Modified, Saved, Loaded };
    // The panel size a user or a file can set, in cells each way.
    static constexpr int32_t kMinCells = 10;
    static constexpr int32_t kMaxCells = 4000;

    // The edits take the position boxes from the window and show a refused shift there.
    explicit Document(PanelWindow& window);

    PanelState& Panel() { return panel_; }
    const PanelState& Panel() const { return panel_; }

    State CurrentState() const { return state_; }
    QString StateWord() const { return StateWord(state_); }
    static QString StateWord(State state);
    // Whether closing, New or Open would lose work: the list holds elements and the state
    // is "Upraveno".
    bool Modified() const;

    // The file the panel was last loaded from or saved to, as the file system's bytes (a
    // name need not be UTF-8); empty for a new station.
    const std::string& FilePath() const { return path_; }
    // The same for the status bar: "(žádný soubor)" for a new station.
    QString ShownPath() const;
    // "VediVEZ v0.4 - Brno.reru", "VediVEZ v0.4 - Nová stanice".
    QString Caption() const;

    // Changes with every change of the elements or the panel size, however small.
    uint64_t Generation() const { return panel_.Generation() + sizeChanges_; }

    int32_t Cols() const { return panel_.PanelCols; }
    int32_t Rows() const { return panel_.PanelRows; }

    // The edits; each makes the document modified exactly when it changed what a save
    // writes. See PanelState for what they do to the list.
    void PlaceElementAt(int32_t px, int32_t py, bool remove);
    void FillRow(int32_t lastCol, int32_t row, int32_t count);
    bool ShiftAll(int32_t dx, int32_t dy);
    // A user's change of the panel size (clamped to kMinCells .. kMaxCells).
    void Resize(int32_t cols, int32_t rows);

    // Empties the panel, sets 50 rows of 100 columns and forgets the file: "Nový".
    void New();
    // Reads the station file completely, then replaces the panel with it and binds the
    // document to the file: "Načteno". On failure throws and changes nothing. The path is
    // the file system's bytes, or a text converted to them.
    LoadReport Load(const std::string& nativePath);
    LoadReport Load(const QString& path);
    // Applies a fully read station: its size lines in file order, then its elements. The
    // state and the file stay as they were.
    void Apply(StationContent content);
    // Writes the panel to the file, replacing it atomically, and binds the document to it:
    // "Uloženo". On failure throws and changes nothing.
    void Save(const std::string& nativePath);
    void Save(const QString& path);

    // Sets the panel size as a file's size lines do, without making the document modified.
    void SetSize(int32_t cols, int32_t rows);
    // Sets the state word, or the file and the state word, as they are after something the
    // document did not do itself (a snapshot recovered for its file as modified; tests).
    void SetState(State state);
    void Bind(std::string nativePath, State state);

signals:
    // The state word or the file changed.
    void stateChanged();
    // The panel size changed (once per change, and once per size line of a file that
    // changed it).
    void sizeChanged();
    // The elements or the size changed: once per edit, New or load that changed them.
    void changed();

private:
    // Sets one dimension; returns whether it changed.
    bool SetDimension(int32_t& field, int32_t value);
    // Sets both dimensions and tells `sizeChanged` once if either changed.
    void ApplySize(int32_t cols, int32_t rows);
    // Runs an operation and tells `changed` when it changed the generation.
    template <typename F> auto Step(F&& operation);

    PanelState panel_;
    State state_ = State::New;
    std::string path_;
    uint64_t sizeChanges_ = 0;
};

} // namespace vedivez
