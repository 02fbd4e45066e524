# The walking editor's panel, run in a thread of its own while the walking editor is open.
# The program writes two lines into the exchange file: the beat count and the beat duration.
# "Save and leave" writes the keyframes into the pattern file and ends the editor, "Leave without
# saving" only ends it: the panel sends signal 35 or 36 to the main thread (qKill 1 ...) and closes.
# With QUOIT_TEST_ANSWER set the panel answers by itself after a second: 1 saves and leaves,
# any other value leaves.
source tcl/qdialog.tcl

set request [split [qReadPassing] "\n"]
set beats [lindex $request 0]
set beatDuration [lindex $request 1]
if {![string is integer -strict $beats]} {set beats 0}
if {![string is double -strict $beatDuration]} {set beatDuration 0}

proc choose {answer} {
    if {$answer == 1} {
        qKill 1 35
    } else {
        qKill 1 36
    }
    destroy .
}

wm title . [LT 2648]
label .beats -text [format "%s %d" [LT 2649] $beats]
label .duration -text [format "%s %.3f s" [LT 2650] $beatDuration]
frame .buttons
button .buttons.save -text [LT 2646] -command {choose 1}
button .buttons.leave -text [LT 2647] -command {choose 2}
pack .buttons.save .buttons.leave -side left -padx 8
pack .beats .duration -padx 14 -pady 4 -anchor w
pack .buttons -pady 10
wm protocol . WM_DELETE_WINDOW {choose 2}
if {[info exists env(QUOIT_TEST_ANSWER)]} {
    after 1000 [list choose $env(QUOIT_TEST_ANSWER)]
}
