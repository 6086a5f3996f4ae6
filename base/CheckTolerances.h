#pragma once
// The limits of the field-book check: each comparison has a level at which its
// difference is suspicious ("podezřelé") and one at which it is wrong ("chybné").
// Metres, except the two-face pair's collimation and index error (gon). The
// defaults suit detail surveying with a 2″/2 mm instrument. The profile values
// proposed for them follow each field: the suspicious level, then the wrong one.

struct ToleranceLevels {
    double suspicious = 0.0;
    double wrong = 0.0;
};

struct CheckTolerances {
    ToleranceLevels position{0.02, 0.05};      // "CHK_Position", "CHK_PositionWrong": along or across the line of sight
    ToleranceLevels height{0.03, 0.08};        // "CHK_Height", "CHK_HeightWrong": repeated trigonometric height
    ToleranceLevels lineDistance{0.02, 0.05};  // "CHK_Line", "CHK_LineWrong": horizontal distance both ways or
                                               // against the coordinates
    ToleranceLevels lineHeight{0.03, 0.08};    // "CHK_LineHeight", "CHK_LineHeightWrong": height differences both ways
    ToleranceLevels faces{0.005, 0.015};       // "CHK_Faces", "CHK_FacesWrong": a pair's collimation or index error
                                               // against the job's mean
    double range = 5000.0;                     // "CHK_Range": the longest slope distance an instrument gives
};
