// Control identifiers of the editor's main window and of its input prompt.
// The resource script uses the prompt's; the Wine-tier driver finds controls
// by them.
#pragma once

#define IDC_LISTBOX1 101
#define IDC_LISTBOX2 102
#define IDC_BUTTON1 103
#define IDC_BUTTON3 104
#define IDC_BUTTON4 105
#define IDC_BUTTON6 106
#define IDC_CHECKBOX1 107
#define IDC_CHECKBOX2 108
#define IDC_CHECKBOX3 109
#define IDC_CHECKBOX4 110
#define IDC_MEMO1 111
#define IDC_BUTTON8 112
#define IDC_BUTTON2 113
#define IDC_LABEL1 120
#define IDC_LABEL2 121
#define IDC_LABEL3 122
#define IDC_LABEL8 123
#define IDC_LABEL7 124

#define IDD_INPUTBOX 200
#define IDC_PROMPT_TEXT 201
#define IDC_PROMPT_EDIT 202

// The main window's class, by which the driver finds it.
#define BRELLIN_FORM_CLASS "TForm1"
