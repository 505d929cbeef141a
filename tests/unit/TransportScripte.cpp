#include "TransportScripte.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <algorithm>

Replique Client(std::string ligne) {
    return {Replique::Genre::Client, std::move(ligne)};
}

Replique Serveur(std::string ligne) {
    return {Replique::Genre::Serveur, std::move(ligne)};
}

Replique Brut(std::string octets, int repetitions) {
    return {Replique::Genre::Brut, std::move(octets), repetitions};
}

Replique Fermeture() {
    return {Replique::Genre::Fermeture, {}};
}

Replique Pause() {
    return {Replique::Genre::Pause, {}};
}

Replique Chiffrement() {
    return {Replique::Genre::Chiffrement, "(passage en TLS)"};
}

void Conversation::reprendre() {
    if (actif) actif->reprendre();
}

std::shared_ptr<Conversation> NouvelleConversation(std::vector<Replique> repliques) {
    auto conversation = std::make_shared<Conversation>();
    conversation->repliques = std::move(repliques);
    return conversation;
}

FabriqueTransport FabriquePour(const std::shared_ptr<Conversation>& conversation) {
    return [conversation]() -> std::unique_ptr<Transport> {
        ++conversation->transportsCrees;
        return std::make_unique<TransportScripte>(conversation);
    };
}

TransportScripte::TransportScripte(std::shared_ptr<Conversation> conversation)
    : conversation_(std::move(conversation)) {}

TransportScripte::~TransportScripte() {
    if (!ecrit_.isEmpty())
        conversation_->ecarts.push_back("écrit sans fin de ligne : " + ecrit_.toStdString());
}

void TransportScripte::connecter(const QString&, quint16, bool, const QSslConfiguration&) {
    conversation_->actif = this;
    if (!conversation_->refus.isEmpty()) {
        QTimer::singleShot(0, this, [this] { emit erreur(conversation_->refus); });
        return;
    }
    ouvert_ = true;
    QTimer::singleShot(0, this, [this] {
        if (!ouvert_) return;
        etabli_ = true;
        emit connecte();
        planifier();
    });
}

// Une conversation qui marque le passage en TLS exige qu'il ait lieu à cet endroit ; sans
// repère, le passage est accepté à tout moment.
void TransportScripte::demarrerTls(const QSslConfiguration&) {
    Conversation& c = *conversation_;
    const auto estRepere = [](const Replique& r) { return r.genre == Replique::Genre::Chiffrement; };
    if (!c.terminee() && estRepere(c.repliques[c.suivante])) {
        ++c.suivante;
    } else if (std::any_of(c.repliques.begin(), c.repliques.end(), estRepere)) {
        const std::string prevue = c.terminee() ? "(fin)" : c.repliques[c.suivante].texte;
        couper("réplique " + std::to_string(c.suivante) + " : attendu « " + prevue + " », passage en TLS");
        return;
    }
    QTimer::singleShot(0, this, [this] {
        if (!ouvert_) return;
        if (!conversation_->refusTls.isEmpty()) {
            emit erreur(conversation_->refusTls);
            return;
        }
        emit chiffre();
        planifier();
    });
}

void TransportScripte::ecrire(const QByteArray& donnees) {
    if (!ouvert_) {
        conversation_->ecarts.push_back("écrit après la fermeture : " + donnees.toStdString());
        return;
    }
    ecrit_ += donnees;
    Conversation& c = *conversation_;
    for (qsizetype fin = ecrit_.indexOf("\r\n"); fin >= 0; fin = ecrit_.indexOf("\r\n")) {
        const std::string ligne = ecrit_.left(fin).toStdString();
        ecrit_.remove(0, fin + 2);
        const bool attendue = !c.terminee() && c.repliques[c.suivante].genre == Replique::Genre::Client &&
                              c.repliques[c.suivante].texte == ligne;
        if (!attendue) {
            const std::string prevue = c.terminee() ? "(fin)" : c.repliques[c.suivante].texte;
            couper("réplique " + std::to_string(c.suivante) + " : attendu « " + prevue + " », reçu « " +
                   ligne + " »");
            return;
        }
        ++c.suivante;
    }
    planifier();
}

QByteArray TransportScripte::lire() {
    return std::exchange(aLire_, {});
}

void TransportScripte::fermer() {
    ouvert_ = etabli_ = false;
    aLire_.clear();
    if (!conversation_->bavard) return;
    emettreTardifs();
    QTimer::singleShot(0, this, [this] { emettreTardifs(); });
}

bool TransportScripte::estConnecte() const {
    return ouvert_ && etabli_;
}

void TransportScripte::reprendre() {
    if (!enPause_) return;
    enPause_ = false;
    ++conversation_->suivante;
    planifier();
}

void TransportScripte::planifier() {
    if (livraisonPrevue_) return;
    livraisonPrevue_ = true;
    QTimer::singleShot(0, this, [this] { livrer(); });
}

// Livre la réplique serveur suivante, puis programme la prochaine au tour d'après.
void TransportScripte::livrer() {
    livraisonPrevue_ = false;
    Conversation& c = *conversation_;
    if (!ouvert_ || enPause_ || c.terminee()) return;
    const Replique& r = c.repliques[c.suivante];
    switch (r.genre) {
    case Replique::Genre::Client:
    case Replique::Genre::Chiffrement:
        return;
    case Replique::Genre::Pause:
        enPause_ = true;
        return;
    case Replique::Genre::Fermeture:
        ++c.suivante;
        ouvert_ = etabli_ = false;
        emit deconnecte();
        return;
    case Replique::Genre::Serveur:
        aLire_ += QByteArray::fromStdString(r.texte + "\r\n");
        ++c.suivante;
        break;
    case Replique::Genre::Brut:
        aLire_ += QByteArray::fromStdString(r.texte);
        if (++livraisons_ >= r.repetitions) {
            livraisons_ = 0;
            ++c.suivante;
        }
        break;
    }
    emit donneesRecues();
    planifier();
}

void TransportScripte::couper(const std::string& ecart) {
    conversation_->ecarts.push_back(ecart);
    ouvert_ = etabli_ = false;
    QTimer::singleShot(0, this, [this] { emit deconnecte(); });
}

void TransportScripte::emettreTardifs() {
    conversation_->signauxTardifs += 4;
    emit donneesRecues();
    emit connecte();
    emit erreur(QStringLiteral("bruit après fermeture"));
    emit deconnecte();
}

testing::AssertionResult ConversationSuivie(const Conversation& c) {
    if (!c.ecarts.empty()) return testing::AssertionFailure() << c.ecarts.front();
    if (!c.terminee())
        return testing::AssertionFailure() << "conversation arrêtée à la réplique " << c.suivante << " « "
                                           << c.repliques[c.suivante].texte.substr(0, 80) << " »";
    return testing::AssertionSuccess();
}

bool AttendreQue(const std::function<bool()>& condition, int delaiMs) {
    const QDeadlineTimer limite(delaiMs);
    QTimer reveil;  // relit la condition même sans autre événement
    reveil.start(20);
    while (!condition() && !limite.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}

Repliques operator+(Repliques debut, const Repliques& suite) {
    debut.insert(debut.end(), suite.begin(), suite.end());
    return debut;
}
