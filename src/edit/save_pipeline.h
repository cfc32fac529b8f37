#pragma once

#include <cstdint>

#include "bytes/result.h"
#include "edit/write_back.h"
#include "image/rom_image.h"
#include "layout/clock_set.h"

namespace clockvane {

// Which correction brought the sum back, if any.
enum class SaveOutcome {
    CorrectedByCompensation,  // CorrectCRC balanced the sum; nothing was asked
    CorrectedByClassic,       // the user agreed and the classic correction balanced it
    NotCorrected,             // declined, or the chosen correction failed
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::NotCorrected;
    bool classicQuestionAsked = false;  // CorrectCRC failed and the observer was asked
    std::uint16_t outputSum = 0;        // of the assembled image, as written and shown

    // Holds exactly when the assembled image adds up to the sum of the file as opened: the
    // pipeline checks the sum itself rather than trusting the correction's own answer.
    bool corrected() const { return outcome != SaveOutcome::NotCorrected; }
};

// The status texts a save shows while it runs; the front-end picks the words.
enum class SaveStatus { ConvertingClocks, ConvertingVcores, Checksum };

// Follows a save as it runs. The window shows each status and progress value and waits where
// the pipeline pauses (processing events meanwhile); the command-line tool shows nothing and
// answers the question from its options.
class SaveObserver {
public:
    virtual ~SaveObserver() = default;
    virtual void progress(int percent) { static_cast<void>(percent); }
    virtual void status(SaveStatus status) { static_cast<void>(status); }
    virtual void pause(double seconds) { static_cast<void>(seconds); }
    // Asked only when CorrectCRC fails: true runs the classic correction.
    virtual bool askClassic() = 0;
};

// An observer that shows nothing and answers the classic question the same way every time.
class FixedClassicAnswer final : public SaveObserver {
public:
    explicit FixedClassicAnswer(bool answer) : answer_(answer) {}
    bool askClassic() override { return answer_; }

private:
    bool answer_;
};

// The one save, from control values to outputImage, for every front-end: clock write-back,
// VCore write-back, CorrectCRC, the question when it fails, rebuild and assembly, and the
// classic correction when the answer was yes.
//
// Every save starts from the file as opened: the clock fields are all rewritten from the
// controls and outputImage is assembled from the loaded bytes, so the classic area is
// rewritten only in this save's output and a second save balances against the opened file
// exactly as a first one does. `clocks.working` and `image.outputImage` hold the saved state
// afterwards; `image.fileImage` and `clocks.asRead` never change. When a box the save reads holds
// no number, nothing at all changes and the box is reported.
Result<SaveResult, UnreadableVcoreBox> runSavePipeline(RomImage& image, ClockSet& clocks,
                                                       std::uint16_t loadedSum,
                                                       const SaveControls& controls,
                                                       SaveObserver& observer);

// The bytes that go to disk: outputImage, then the bytes a longer file had past offset
// 99,999, unchanged. No line end is added.
Bytes bytesToWrite(const RomImage& image);

}  // namespace clockvane
