# The modal error message: shows the text of tmp/tcl_passing until OK is pressed.
source tcl/qdialog.tcl
qMessageDialog [LT 22] ""
