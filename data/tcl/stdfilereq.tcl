# The file requester. Request: the start directory, the file pattern (for example *.wrl) and the
# number of the local text for the title, one a line. Answer: the chosen file, as a path relative
# to the home directory when it lies inside it, or an empty line when nothing was chosen.
source tcl/qdialog.tcl

set request [split [qReadPassing] "\n"]
set directory [lindex $request 0]
set pattern [lindex $request 1]
set titleNumber [lindex $request 2]
qWriteAnswer ""

proc homeRelative {path} {
    set home [pwd]/
    if {[string first $home $path] == 0} {
        return [string range $path [string length $home] end]
    }
    return $path
}

proc answerFile {path} {
    qWriteAnswer [homeRelative $path]
    destroy .
}

wm withdraw .
if {[info exists env(QUOIT_TEST_ANSWER)]} {
    qAnswerUnattended answerFile
} else {
    set title [LT 26]
    if {[string is integer -strict $titleNumber] && $titleNumber > 0} {
        set title [LT $titleNumber]
    }
    set extension [string range $pattern 1 end]
    if {$extension eq ""} {
        set extension *
    }
    set types [list [list $pattern [list $extension]] [list [LT 28] *]]
    if {![file isdirectory $directory]} {
        set directory [pwd]
    }
    answerFile [tk_getOpenFile -initialdir $directory -title $title -filetypes $types]
}
