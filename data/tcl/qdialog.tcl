# Shared parts of quoit's dialog scripts: the message window and the unattended answer.
# The program runs each dialog in an interpreter of its own from the home directory;
# a dialog ends by destroying its windows, never with exit (that would end quoit).
# The exchange file is reached only through the program's commands qReadPassing (the request,
# whole) and qWriteAnswer (the answer as its first line), which take a regular file only and
# never follow a link nor wait on a FIFO put in its place.

# With QUOIT_TEST_ANSWER set the dialog answers by itself once its window is up:
# the command is called with the variable's value, as a click would call it.
proc qAnswerUnattended {command} {
    global env
    if {[info exists env(QUOIT_TEST_ANSWER)]} {
        after 50 [concat $command [list $env(QUOIT_TEST_ANSWER)]]
    }
    return
}

# A message window: the text of the exchange file, an OK button, and a note below.
proc qMessageDialog {title note} {
    wm title . $title
    message .text -text [string trimright [qReadPassing]] -width 480
    pack .text -padx 14 -pady 12 -fill both -expand 1
    if {$note ne ""} {
        label .note -text $note
        pack .note -padx 14
    }
    button .ok -text [LT 20] -width 8 -command qCloseDialog
    pack .ok -pady 10
    bind . <Return> qCloseDialog
    bind . <Escape> qCloseDialog
    focus .ok
    qAnswerUnattended qCloseDialog
}

proc qCloseDialog {args} {
    destroy .
}
