//{{NO_DEPENDENCIES}}
// Symbols of the Quillon Demo resources.
// Used by demo.rc
//
#define IDD_ABOUTBOX                    100
#define IDD_CONVERTER                   102
#define IDD_OPTIONS                     103
#define IDR_MAINFRAME                   128
#define IDB_RULER                       130
#define IDR_TIPS                        131
#define IDR_DEFAULTS                    132
#define IDR_README                      133
#define IDS_READY                       200
#define IDS_RESULT_FORMAT               201
#define IDS_BAD_NUMBER                  202
#define IDS_UNKNOWN_UNIT                203
#define IDS_CONFIRM_CLEAR               204
#define IDS_HISTORY_FILE                205
#define IDS_HISTORY_COLUMNS             206
#define IDS_SAVE_FILTER                 207
#define IDS_COPIED                      208
#define IDS_TOO_LARGE                   209
#define IDS_CAT_LENGTH                  300
#define IDS_CAT_MASS                    301
#define IDS_CAT_TEMPERATURE             302
#define IDS_UNIT_METRE                  310
#define IDS_UNIT_KILOMETRE              311
#define IDS_UNIT_INCH                   312
#define IDS_UNIT_FOOT                   313
#define IDS_UNIT_MILE                   314
#define IDS_UNIT_ANGSTROM               315
#define IDS_UNIT_GRAM                   316
#define IDS_UNIT_KILOGRAM               317
#define IDS_UNIT_POUND                  318
#define IDS_UNIT_CELSIUS                319
#define IDS_UNIT_FAHRENHEIT             320
#define IDS_UNIT_KELVIN                 321
#define IDC_CAT_LENGTH                  1000
#define IDC_CAT_MASS                    1001
#define IDC_CAT_TEMPERATURE             1002
#define IDC_VALUE                       1003
#define IDC_FROM_UNIT                   1004
#define IDC_TO_UNIT                     1005
#define IDC_RESULT                      1006
#define IDC_CONVERT                     1007
#define IDC_SWAP                        1008
#define IDC_HISTORY                     1009
#define IDC_PRECISION                   1010
#define IDC_PRECISION_SPIN              1011
#define IDC_PRECISION_SLIDER            1012
#define IDC_ROUND                       1013
#define IDC_THOUSANDS                   1014
#define IDC_SEP_POINT                   1015
#define IDC_SEP_COMMA                   1016
#define IDC_SHOW_HISTORY                1017
#define IDC_TOPMOST                     1018
#define ID_FILE_NEW                     32771
#define ID_FILE_OPEN                    32772
#define ID_FILE_SAVE_AS                 32773
#define ID_FILE_RECENT                  32774
#define ID_APP_EXIT                     32775
#define ID_EDIT_UNDO                    32776
#define ID_EDIT_COPY                    32777
#define ID_EDIT_SWAP                    32778
#define ID_EDIT_CLEAR_HISTORY           32779
#define ID_VIEW_HISTORY                 32780
#define ID_VIEW_TOPMOST                 32781
#define ID_VIEW_OPTIONS                 32782
#define ID_HELP_TOPICS                  32783
#define ID_APP_ABOUT                    32784
#define IDC_STATIC                      (-1)

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE        134
#define _APS_NEXT_COMMAND_VALUE         32785
#define _APS_NEXT_CONTROL_VALUE         1019
#define _APS_NEXT_SYMED_VALUE           101
#endif
#endif
