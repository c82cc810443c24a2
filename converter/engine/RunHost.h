#pragma once
// The run's host: everything the conversion run needs of the window that started it (the main
// dialog, the command-line front end or a test). The engine knows no widgets; it reaches the dialog's
// fields, progress bars, captions and the background check box only through this interface.

#include "engine/Records.h"

#include <cstdint>
#include <string>

class RunHost {
public:
    enum class Progress { Stage, All }; // the stage bar (ODCPBTOC) and the whole-run bar (ODCPBALL)

    virtual ~RunHost() = default;

    // The settings page's values, read at the start of a run.
    virtual ConversionOptions options() = 0;
    // COUTDIR: the output folder, ending with '/'; CNAMEFILE: the output name without extension.
    virtual std::string COUTDIR() = 0;
    virtual std::string CNAMEFILE() = 0;
    // LGO: a run is in progress; LSTOP: the user asked to stop.
    virtual bool LGO() = 0;
    virtual void setLGO(bool value) = 0;
    virtual bool LSTOP() = 0;
    virtual void setLSTOP(bool value) = 0;
    // Enables the controls again after a confirmed stop.
    virtual void ENABLECONTROL() = 0;

    virtual void setProgressRange(Progress bar, uint32_t maximum) = 0;
    virtual void setProgressPosition(Progress bar, uint32_t position) = 0;
    // The caption of the stage group box (ODCGBTOC) and of the start button (OCCOKBUTTON).
    virtual void setStageCaption(const std::string& caption) = 0;
    virtual void setStartButtonCaption(const std::string& caption) = 0;
    // The background check box (ODCCB1); unchecked when Paper.jpg cannot be copied.
    virtual void setBackgroundChecked(bool checked) = 0;

    // Lets pending window events run; called after every tag and every group of a picture.
    virtual void processPendingEvents() = 0;
};
