#pragma once

// Whether a command can run now and whether it is the current tool or switch: one pure function of
// the values the shell holds, asked when a menu opens, at idle and after every command.

class CKovUnit;
class SelectionRecord;

namespace kov::app {

// The values the conditions read; the shell fills it from the document, the view and the frame.
struct CommandContext {
    const CKovUnit* unit = nullptr;          // the live drawing
    const SelectionRecord* selection = nullptr;
    int toolNumber = 0;                      // 0 select mode
    int undoSize = 1;                        // snapshots on the undo stack, the base included
    int redoSize = 0;
    double zoom = 1.0;
    int zoomMode = 0;
    int placing = 0;                         // imported figures are being placed
    int gridShown = 1;
    int dimOtherLayers = 0;                  // laygray
    int traceMode = 0;
    int intersectionSnap = 0;                // clicks snap to crossings first
    int drawToolBarShown = 1;
    int groupToolBarShown = 1;
    int clipboardHasPicture = 0;
    int backupsOn = 1;                       // app_backup
};

struct CommandState {
    bool enabled = true;
    bool checked = false;   // a tick (switches)
    bool radio = false;     // a radio mark (the current tool)
    bool known = false;     // the command has an update rule; otherwise the default (enabled)
    bool operator==(const CommandState&) const = default;
};

// The state of one command in that context; commands without a rule are enabled and unmarked.
CommandState EvaluateCommand(int command, const CommandContext& context);

// The tool number a drawing-tool command starts, or -1 when the command is no tool of that kind.
int ToolNumberOfCommand(int command);

} // namespace kov::app
