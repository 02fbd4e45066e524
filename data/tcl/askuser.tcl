# Asks the user a question. Request: the question, the first and the second answer, one a line.
# Answer: 1 or 2 for the button pressed, 0 when the window is closed without a choice.
source tcl/qdialog.tcl

set request [split [qReadPassing] "\n"]
qWriteAnswer 0

proc choose {number} {
    qWriteAnswer $number
    destroy .
}

wm title . [LT 25]
message .question -text [lindex $request 0] -width 420
frame .buttons
button .buttons.first -text [lindex $request 1] -command {choose 1}
button .buttons.second -text [lindex $request 2] -command {choose 2}
pack .buttons.first .buttons.second -side left -padx 8
pack .question -padx 14 -pady 12
pack .buttons -pady 10
focus .buttons.first
qAnswerUnattended choose
