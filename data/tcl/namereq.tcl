# The name requester for a saved siteswap. Request: the proposed file name and the prompt, one a
# line. Answer: the name chosen, or -17 when the user cancels.
# Unattended (QUOIT_TEST_ANSWER set): 1 takes the proposed name, 2 cancels, any other value is
# taken as the typed name.
source tcl/qdialog.tcl

set request [split [string trimright [qReadPassing] "\n"] "\n"]
set proposed [lindex $request 0]
qWriteAnswer -17

proc answerName {name} {
    qWriteAnswer $name
    destroy .
}

proc answerUnattended {value} {
    global proposed
    switch -- $value {
        1 {answerName $proposed}
        2 {answerName -17}
        default {answerName $value}
    }
}

set name $proposed
wm title . [LT 25]
label .prompt -text [lindex $request 1] -anchor w
entry .name -textvariable name -width 50
frame .buttons
button .buttons.ok -text [LT 20] -width 8 -command {answerName $name}
button .buttons.cancel -text [LT 70] -width 8 -command {answerName -17}
pack .buttons.ok .buttons.cancel -side left -padx 8
pack .prompt -padx 14 -pady {12 0} -fill x
pack .name -padx 14 -pady 12 -fill x
pack .buttons -pady 10
bind .name <Return> {answerName $name}
bind . <Escape> {answerName -17}
focus .name
qAnswerUnattended answerUnattended
