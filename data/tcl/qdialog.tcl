# Shared parts of quoit's dialog scripts: the exchange file and the unattended answer.
# The program runs each dialog in an interpreter of its own from the home directory;
# a dialog ends by destroying its windows, never with exit (that would end quoit).

# The request the program wrote into the exchange file, whole.
proc qReadPassing {} {
    set file [open tmp/tcl_passing r]
    fconfigure $file -encoding utf-8
    set text [read $file]
    close $file
    return $text
}

# The answer is the first line of the exchange file.
proc qWriteAnswer {answer} {
    set file [open tmp/tcl_passing w]
    fconfigure $file -encoding utf-8
    puts $file $answer
    close $file
}

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
