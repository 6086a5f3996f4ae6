#pragma once
// The limits of the field-book check: each comparison has a level at which its
// difference is suspicious ("podezřelé") and one at which it is wrong ("chybné").
// Metres, except the two-face pair's collimation and index error (gon). The
// defaults suit detail surveying with a 2″/2 mm instrument.

struct ToleranceLevels {
    double suspicious = 0.0;
    double wrong = 0.0;
};

struct CheckTolerances {
    ToleranceLevels position{0.02, 0.05};      // repeated position along or across the line of sight
    ToleranceLevels height{0.03, 0.08};        // repeated trigonometric height
    ToleranceLevels lineDistance{0.02, 0.05};  // horizontal distance both ways, or against the coordinates
    ToleranceLevels lineHeight{0.03, 0.08};    // height differences both ways, which must cancel
    ToleranceLevels faces{0.005, 0.015};       // a two-face pair's collimation or index error against the job's mean
    double range = 5000.0;                     // the longest slope distance an instrument gives
};
