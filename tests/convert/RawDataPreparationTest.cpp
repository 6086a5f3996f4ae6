#include "convert/RawDataPreparation.h"

#include "convert/TransferCheck.h"

#include <QRandomGenerator>
#include <QTest>

class RawDataPreparationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void normalisesSigns_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("normalised");
        QTest::newRow("slope sighting")
            << QByteArray("_+P1_ ?+00012345m+0912345++1234567d+00012300t00+00000_*AB_,1.600_")
            << QByteArray("_+P1_ ?+00012345m0912345+1234567d+00012300t00+00000_*AB_,1.600_");
        QTest::newRow("angles sighting") << QByteArray("_+P2_ <+0912345++1234567+00000_*AB_,1.600_")
                                         << QByteArray("_+P2_ <0912345+1234567+00000_*AB_,1.600_");
        QTest::newRow("angles sighting with a negative direction")
            << QByteArray("<+0912345+-1234567+0") << QByteArray("<0912345+-1234567+0");
        QTest::newRow("pairs outside sightings") << QByteArray("A++B m+1 f+1 +++") << QByteArray("A+B m1 f1 ++");
        QTest::newRow("question mark without its letters stays") << QByteArray("?+12+34") << QByteArray("?+12+34");
        QTest::newRow("angle bracket without two plus signs stays") << QByteArray("<12+34") << QByteArray("<12+34");
        // A feet distance followed later by any "m" must still take its own "f",
        // and a degree angle followed later by a "g" its own "d".
        QTest::newRow("feet sighting followed by a metre sighting keeps its own unit")
            << QByteArray("?+00012345f+0912345++1234567g+0 ?+00000100m+1000000++0000000g+0")
            << QByteArray("?+00012345f0912345+1234567g+0 ?+00000100m1000000+0000000g+0");
        QTest::newRow("degree sighting followed by a gon sighting keeps its own unit")
            << QByteArray("?+00012345m+0912345++1234567d+0 ?+00000100m+1000000++0000000g+0")
            << QByteArray("?+00012345m0912345+1234567d+0 ?+00000100m1000000+0000000g+0");
        QTest::newRow("direction in mils ends at its own letter")
            << QByteArray("?+00012345m+0912345++1234527m+00012300t00+00000_*AB_")
            << QByteArray("?+00012345m0912345+1234527m+00012300t00+00000_*AB_");
        QTest::newRow("feet sighting followed by a name with m")
            << QByteArray("_+P1_ ?+00012345f+0912345++1234567g+0t00+00000_*AB_,1.600_ _'Sm_(_)1_")
            << QByteArray("_+P1_ ?+00012345f0912345+1234567g+0t00+00000_*AB_,1.600_ _'Sm_(_)1_");
    }
    void normalisesSigns() {
        QFETCH(QByteArray, raw);
        QFETCH(QByteArray, normalised);
        QCOMPARE(NormaliseSigns(raw), normalised);
    }

    void randomTextOnlyLosesCharacters() {
        // Normalisation works in place; text cut anywhere must neither grow nor
        // be read past its end (the address sanitizer watches the latter).
        const QList<QByteArray> pieces{"?", "<", "+", "++", "m", "f", "g", "d", "0912345", "_", "\x02", "\x03"};
        QRandomGenerator random(200);
        for (int round = 0; round < 3000; ++round) {
            QByteArray text;
            const int count = int(random.bounded(50));
            for (int i = 0; i < count; ++i) text += pieces[random.bounded(int(pieces.size()))];
            QByteArray unframed = text;
            RemoveFraming(unframed);
            QVERIFY(unframed.size() <= text.size());
            QVERIFY(NormaliseSigns(unframed).size() <= unframed.size());
        }
    }

    void manyUnfinishedSightingsStayLinear_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<qsizetype>("removed");
        // Every "?" lacks its angle letter; each «f+» loses its "+".
        QTest::newRow("slope sightings without angle letter")
            << QByteArray("?+1f+2+").repeated(300000) << qsizetype(300000);
        // Every "<" finds the one "+" at the end but no second one after it.
        QTest::newRow("angles sightings without closing plus")
            << QByteArray("<").repeated(300000) + "+" << qsizetype(0);
    }
    void manyUnfinishedSightingsStayLinear() {
        // A search to the end for each sighting would be quadratic: minutes for
        // these sizes, beyond the test's time-out. `make bench` times the pass.
        QFETCH(QByteArray, raw);
        QFETCH(qsizetype, removed);
        const QByteArray out = NormaliseSigns(raw);
        QCOMPARE(out.size(), raw.size() - removed);
    }
};

QTEST_GUILESS_MAIN(RawDataPreparationTest)
#include "RawDataPreparationTest.moc"
